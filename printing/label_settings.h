#pragma once
// The label settings the CD label setup edits and the two label reports
// read: the label type, the footer text printed on every label and the
// two colours (text, and the full-size label's circle).

#include "platform/report/report_types.h"
#include "platform/text/fixed_string.h"

namespace printing {

namespace label_type {
enum : int { FullSize = 0, Mini = 1 };
}

struct LabelSettingsValues {
    int LABELTYPE = label_type::FullSize;          // kept for the program's run
    fw::FString<30> LABELFOOTER;                    // kept for the program's run
    fw::report::Color LabelTextColor = fw::report::kBlack;  // reset when the setup opens
    fw::report::Color LabelBackColor = fw::report::kWhite;  // reset when the setup opens
};

LabelSettingsValues& LabelSettings();

}  // namespace printing
