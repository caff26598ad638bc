// Every layout file under resources/layouts loads, and every use-equate
// the program's code names exists: in a window the same source file opens
// by label, or else in some layout.
#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>

#include <map>
#include <regex>
#include <set>
#include <string>

#include "platform/text/codepage.h"
#include "platform/ui/layout.h"

namespace {

TEST(LayoutNames, EveryLayoutLoadsAndEveryNamedUseEquateExists) {
    fw::SetLayoutFolder(CV_SOURCE_DIR "/resources/layouts");
    std::map<std::string, std::set<std::string>> equatesOf;  // label -> equates
    std::set<std::string> all;
    for (const std::string& label : fw::LayoutLabels()) {
        try {
            fw::WindowLayout l = fw::LoadLayout(label);
            for (const auto& c : l.controls) {
                equatesOf[fw::UpperText(label)].insert(c.equate);
                all.insert(c.equate);
            }
        } catch (const fw::LayoutError& e) {
            ADD_FAILURE() << e.what();
        }
    }
    fw::SetLayoutFolder({});
    EXPECT_TRUE(equatesOf.count("P1$APPFRAME"));

    const std::regex equate("\"(\\?[A-Za-z0-9_:]+)\"");
    const std::regex opens("(?:^|[^A-Za-z0-9_])Window(?:\\s+\\w+)?\\s*[({]\\s*\"([^\"]+)\"");
    for (const char* folder : {"app", "shell", "songbook", "songbase", "printing", "exchange"}) {
        QDirIterator it(QString(CV_SOURCE_DIR "/") + folder, {"*.cpp", "*.h"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QString path = it.next();
            QFile f(path);
            if (!f.open(QIODevice::ReadOnly)) continue;
            std::string text = f.readAll().toStdString();
            std::set<std::string> labels;
            for (std::sregex_iterator m(text.begin(), text.end(), opens), end; m != end; ++m) labels.insert(fw::UpperText((*m)[1].str()));
            for (std::sregex_iterator m(text.begin(), text.end(), equate), end; m != end; ++m) {
                std::string name = fw::UpperText((*m)[1].str());
                bool found = false;
                for (const auto& label : labels)
                    if (equatesOf.count(label) && equatesOf[label].count(name)) found = true;
                if (labels.empty() || !found) found = found || (labels.empty() && all.count(name));
                EXPECT_TRUE(found) << path.toStdString() << " names " << name
                                   << (labels.empty() ? " which no layout has" : " which the windows it opens lack");
            }
            for (const auto& label : labels)
                EXPECT_TRUE(equatesOf.count(label)) << path.toStdString() << " opens window " << label << " that has no layout";
        }
    }
}

}  // namespace
