// Builds dBASE table bytes field by field, for tests that need tables no tool
// writes: broken, hostile or unusual ones.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/native_path.h"

class DbfBuilder {
public:
    struct Field {
        std::string name;
        char type;
        int length;
        int decimals = 0;
        std::uint8_t flags = 0;
    };

    explicit DbfBuilder(std::uint8_t version = 0x03) : version_(version) {}
    DbfBuilder& field(const std::string& name, char type, int length, int decimals = 0,
                      std::uint8_t flags = 0) {
        fields_.push_back({name, type, length, decimals, flags});
        return *this;
    }
    DbfBuilder& languageDriver(std::uint8_t driver) {
        driver_ = driver;
        return *this;
    }
    // The record's field bytes after the deletion flag, padded to its length.
    DbfBuilder& record(const std::string& bytes, bool deleted = false) {
        std::string r(1, deleted ? '*' : ' ');
        r += bytes;
        r.resize(std::size_t(recordLength()), ' ');
        records_.push_back(r);
        return *this;
    }

    // A record of field texts, each padded with blanks to its field's length.
    DbfBuilder& textRecord(const std::vector<std::string>& texts) {
        std::string bytes;
        for (std::size_t i = 0; i < texts.size() && i < fields_.size(); ++i) {
            std::string text = texts[i];
            text.resize(std::size_t(fields_[i].length), ' ');
            bytes += text;
        }
        return record(bytes);
    }

    int recordLength() const {
        int length = 1;
        for (const Field& f : fields_) length += f.length;
        return length;
    }
    int headerLength() const {
        return 32 + 32 * int(fields_.size()) + 1 + (version_ >= 0x30 && version_ <= 0x32 ? 263 : 0);
    }

    std::string bytes() const {
        std::string out(32, '\0');
        out[0] = char(version_);
        out[1] = 124;  // 2024
        out[2] = 1;
        out[3] = 2;
        put32(out, 4, std::uint32_t(records_.size()));
        put16(out, 8, std::uint16_t(headerLength()));
        put16(out, 10, std::uint16_t(recordLength()));
        out[29] = char(driver_);
        for (const Field& f : fields_) {
            std::string d(32, '\0');
            d.replace(0, std::min<std::size_t>(f.name.size(), 10), f.name.substr(0, 10));
            d[11] = f.type;
            d[16] = char(f.length & 0xFF);
            // Long text fields keep the high byte of their length in the decimals.
            d[17] = char(f.type == 'C' ? f.length >> 8 : f.decimals);
            d[18] = char(f.flags);
            out += d;
        }
        out += '\x0D';
        out.resize(std::size_t(headerLength()), '\0');
        for (const std::string& r : records_) out += r;
        out += '\x1A';
        return out;
    }

    static void put16(std::string& s, std::size_t at, std::uint16_t v) {
        s[at] = char(v & 0xFF);
        s[at + 1] = char(v >> 8);
    }
    static void put32(std::string& s, std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) s[at + std::size_t(i)] = char((v >> (8 * i)) & 0xFF);
    }

private:
    std::uint8_t version_;
    std::uint8_t driver_ = 0xC9;
    std::vector<Field> fields_;
    std::vector<std::string> records_;
};

// A table whose records really are there, as a sparse file: `count` records
// of one character field, all holes but the header. No disk space needed.
inline std::string sparseTable(const std::string& path, std::uint64_t count) {
    std::string header = DbfBuilder().field("N", 'C', 1).bytes();
    header.pop_back();  // the end marker
    DbfBuilder::put32(header, 4, std::uint32_t(count));
    std::ofstream(geocalc::pathFromUtf8(path), std::ios::binary) << header;
    std::error_code error;
    std::filesystem::resize_file(geocalc::pathFromUtf8(path), header.size() + count * 2 + 1, error);
    return error ? "" : path;
}
