// GUI tests run under the offscreen platform inside the program's own
// application object, so failures reach the error box as in the program.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/geocalc_application.h"
#include "numtext/format_settings.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // The toolkit's remembered settings (the file dialog's columns) start
    // afresh in every run, as on a new user's machine, and touch no one's.
    char config[] = "/tmp/geocalc-app-test-XXXXXX";
    if (mkdtemp(config) != nullptr) setenv("XDG_CONFIG_HOME", config, 1);
    ::testing::InitGoogleTest(&argc, argv);
    char name[] = "geocalc";
    char* appArgv[] = {name, nullptr};
    int appArgc = 1;
    geocalc::app::GeocalcApplication application(appArgc, appArgv);
    geocalc::setDecimalSeparator('.');
    return RUN_ALL_TESTS();
}
