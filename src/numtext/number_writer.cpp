#include "numtext/number_writer.h"

#include <algorithm>
#include <cstdlib>

#include "numtext/decimal_form.h"
#include "numtext/format_settings.h"

namespace geocalc {

class NumberTextBuilder {
public:
    explicit NumberTextBuilder(NumberText& text) : text_(text) {}
    void put(char c) { text_.data_[text_.size_++] = c; }
    void put(std::string_view s) {
        for (char c : s) put(c);
    }
    void repeat(char c, int count) {
        for (int i = 0; i < count; ++i) put(c);
    }
    void putUnsigned(int value, int minimumDigits) {
        char reversed[8];
        int n = 0;
        do {
            reversed[n++] = char('0' + value % 10);
            value /= 10;
        } while (value != 0);
        repeat('0', minimumDigits - n);
        while (n > 0) put(reversed[--n]);
    }

private:
    NumberText& text_;
};

namespace {

constexpr int kGeneralDecimals = 9999;
constexpr int kMaxExponentPadding = 4;

void writeSpecial(NumberTextBuilder& out, const DecimalForm& form) {
    if (form.exponent == DecimalForm::kNaN) {
        out.put("NAN");
    } else {
        if (form.negative) out.put('-');
        out.put("INF");
    }
}

void writeGeneralForm(NumberTextBuilder& out, const DecimalForm& form, int precision, int digits) {
    const char separator = numberFormat().decimalSeparator;
    const std::string_view d = form.digitText();
    const int e = form.exponent;
    if (form.negative) out.put('-');
    if (e > precision || e < -3) {
        out.put(d[0]);
        if (d.size() > 1) {
            out.put(separator);
            out.put(d.substr(1));
        }
        out.put('E');
        if (e - 1 < 0) out.put('-');
        out.putUnsigned(std::abs(e - 1), digits <= kMaxExponentPadding ? digits : 0);
    } else if (e > 0) {
        const int integerDigits = std::min(e, int(d.size()));
        out.put(d.substr(0, std::size_t(integerDigits)));
        out.repeat('0', e - integerDigits);
        if (int(d.size()) > e) {
            out.put(separator);
            out.put(d.substr(std::size_t(e)));
        }
    } else {
        out.put('0');
        if (!d.empty()) {
            out.put(separator);
            out.repeat('0', -e);
            out.put(d);
        }
    }
}

void writeFixedForm(NumberTextBuilder& out, const DecimalForm& form, int decimals) {
    const std::string_view d = form.digitText();
    const int e = form.exponent;
    const int size = int(d.size());
    if (form.negative) out.put('-');
    if (e <= 0) {
        out.put('0');
    } else {
        out.put(d.substr(0, std::size_t(std::min(e, size))));
        out.repeat('0', e - size);
    }
    if (decimals <= 0) return;
    out.put(numberFormat().decimalSeparator);
    int written = 0;
    if (e < 0) {
        written = std::min(-e, decimals);
        out.repeat('0', written);
        const int shown = std::min(size, decimals - written);
        out.put(d.substr(0, std::size_t(shown)));
        written += shown;
    } else if (size > e) {
        const int shown = std::min(size - e, decimals);
        out.put(d.substr(std::size_t(e), std::size_t(shown)));
        written = shown;
    }
    out.repeat('0', decimals - written);
}

}  // namespace

NumberText writeNumber(long double v, NumberForm form, int precision, int digits) {
    precision = std::clamp(precision, 2, DecimalForm::kMaxDigits);
    digits = std::max(digits, 0);
    const int fixedDecimals = std::min(digits, DecimalForm::kMaxDigits);
    DecimalForm decimal = toDecimalForm(
        v, precision, form == NumberForm::General ? kGeneralDecimals : fixedDecimals);

    NumberText text;
    NumberTextBuilder out(text);
    if (decimal.isSpecial()) {
        writeSpecial(out, decimal);
    } else if (form == NumberForm::General || decimal.exponent > precision) {
        writeGeneralForm(out, decimal, precision, digits);
    } else {
        writeFixedForm(out, decimal, fixedDecimals);
    }
    return text;
}

NumberText writeGeneral(long double v) {
    return writeNumber(v, NumberForm::General, kGeneralPrecision, 0);
}

NumberText writeFixed(long double v) {
    return writeNumber(v, NumberForm::Fixed, kFixedPrecision, kFixedDecimals);
}

}  // namespace geocalc
