#include "platform/os/help.h"

#include "platform/data/names/path_names.h"
#include "platform/os/desktop_opener.h"
#include "platform/text/codepage.h"

#include <QString>
#include <QUrl>
#include <filesystem>
#include <system_error>

namespace fw {

std::string HelpPagePath(std::string_view installFolder, std::string_view topic) {
    while (topic.substr(0, 3) == "::/") topic.remove_prefix(3);
    while (!topic.empty() && topic.back() == ' ') topic.remove_suffix(1);
    if (topic.empty()) topic = kHelpIndexPage;
    if (topic == "." || topic == ".." || topic.find_first_of(std::string_view("/\\:\0", 4)) != std::string_view::npos)
        return {};
    std::string folder(installFolder);
    while (!folder.empty() && (folder.back() == ' ' || IsPathSeparator(folder.back()))) folder.pop_back();
    if (folder.empty()) return {};
    const std::string path = ResolvePath(folder + "/help/" + std::string(topic));
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec) ? path : std::string();
}

OpenResult ShowHelpTopic(std::string_view installFolder, std::string_view topic) {
    const std::string path = HelpPagePath(installFolder, topic);
    if (path.empty()) return OpenResult::Ignored;
    return OpenOnDesktop(QUrl::fromLocalFile(QString::fromStdString(path))) ? OpenResult::Opened : OpenResult::Failed;
}

}  // namespace fw
