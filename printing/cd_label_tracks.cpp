#include "printing/cd_label_tracks.h"

#include "platform/text/strings.h"

namespace printing {
namespace {

constexpr std::size_t kWidth = kLabelColumnLines;

// Splits at the last blank within the first 18 characters (the blank is
// dropped); without one the text stays whole and the rest is empty.
void SplitAtBlank(const std::string& text, std::string& first, std::string& rest) {
    const std::size_t blank = text.substr(0, kWidth).find_last_of(' ');
    if (blank == std::string::npos) {
        first = text;
        rest.clear();
        return;
    }
    first = text.substr(0, blank);
    rest = text.substr(blank + 1);
}

}  // namespace

std::string LabelTrackText(int track) { return (std::to_string(track) + ". ").substr(0, 3); }

std::vector<LabelLine> BuildLabelTrackList(const std::vector<LabelTrack>& tracks) {
    std::vector<LabelLine> lines;
    int count = 0;  // lines since the last spacer
    auto spacer = [&] {
        lines.push_back({});
        count = 0;
    };
    for (const LabelTrack& t : tracks) {
        if (t.track < 1 || t.track > kLabelLastTrack) continue;
        const std::string title = fw::CLIP(t.title);
        const std::string number = LabelTrackText(t.track);
        if (title.size() <= kWidth) {
            lines.push_back({number, title});
            ++count;
            continue;
        }
        std::string first, second, third;
        SplitAtBlank(title, first, second);
        const bool threeLines = second.size() > kWidth;
        if (threeLines) {
            const std::string whole = second;
            SplitAtBlank(whole, second, third);
        }
        // A title that would not fit the left column's end begins the right one.
        if (threeLines && count == kLabelColumnLines - 2) {
            spacer();
            spacer();
        } else if (!threeLines && count == kLabelColumnLines - 1) {
            spacer();
        }
        lines.push_back({number, first});
        lines.push_back({"", second});
        count += 2;
        if (!fw::CLIP(third).empty()) {
            lines.push_back({"", third});
            ++count;
        }
    }
    return lines;
}

std::vector<LabelRow> LabelRows(const std::vector<LabelLine>& lines) {
    std::vector<LabelRow> rows;
    const std::size_t n = lines.size();
    for (std::size_t i = 0; i < static_cast<std::size_t>(kLabelColumnLines); ++i) {
        LabelRow row;
        if (i < n) {
            row.left = lines[i];
            if (i + kLabelColumnLines < n) row.right = lines[i + kLabelColumnLines];
        } else {
            row.left.track = ".";
            row.filler = true;
        }
        rows.push_back(row);
    }
    return rows;
}

}  // namespace printing
