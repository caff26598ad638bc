#include "shell/about_window.h"

#include "shell/data_dictionary_globals.h"
#include "shell/registry.h"
#include "shell/shell_open.h"

#include "platform/ui/window.h"
#include "platform/ui/window_api.h"

namespace shell {

void AboutWindow() {
    fw::Window window("P1$ABOUTWINDOW");
    window.Use("?GLO:COMPANYNAME", Glo().COMPANYNAME);
    window.Open();
    while (fw::ACCEPT()) {
        if (fw::ACCEPTED() == "?WEBBUTTON") {
            WebAddress = GetRegistryValue(0, kSiteKeyPath, "", "CompanyWebAddress", kSettingsSection);
            ShellOpenDocument(WebAddress.View());
        }
    }
}

}  // namespace shell
