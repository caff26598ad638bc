#include "printing/label_settings.h"

namespace printing {

LabelSettingsValues& LabelSettings() {
    static LabelSettingsValues settings;
    return settings;
}

}  // namespace printing
