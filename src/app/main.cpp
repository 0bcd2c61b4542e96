// geocalc: start-up, the event loop, shutdown.
#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>

#include "app/error_box.h"
#include "app/geocalc_application.h"
#include "app/unit1.h"
#include "numtext/format_settings.h"

namespace {

std::string kindOf(const std::exception& e) {
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> name(
        abi::__cxa_demangle(typeid(e).name(), nullptr, nullptr, &status), &std::free);
    return status == 0 && name ? name.get() : typeid(e).name();
}

}  // namespace

int main(int argc, char** argv) {
    geocalc::app::GeocalcApplication application(argc, argv);
    std::unique_ptr<geocalc::app::TForm1> form;
    try {
        geocalc::loadNumberFormat();
        form = std::make_unique<geocalc::app::TForm1>();
        form->show();
    } catch (const std::exception& e) {
        geocalc::app::Form1 = nullptr;
        geocalc::app::showStartupFailureBox(kindOf(e), e.what());
        return 1;
    }
    return application.exec();
}
