#include "platform/ui/layout.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <array>
#include <cstdlib>
#include <utility>

#include "platform/data/names/path_names.h"
#include "platform/text/codepage.h"
#include "platform/text/numbers.h"
#include "platform/ui/events.h"

namespace fw {
namespace {

struct KindName {
    ControlKind kind;
    std::string_view name;
    int number;
};

constexpr std::array<KindName, 23> kKinds{{
    {ControlKind::String, "string", 1},     {ControlKind::Image, "image", 2},
    {ControlKind::Line, "line", 4},         {ControlKind::Box, "box", 5},
    {ControlKind::Ellipse, "ellipse", 6},   {ControlKind::Entry, "entry", 7},
    {ControlKind::Button, "button", 8},     {ControlKind::Prompt, "prompt", 9},
    {ControlKind::Option, "option", 10},    {ControlKind::Check, "check", 11},
    {ControlKind::Group, "group", 12},      {ControlKind::List, "list", 13},
    {ControlKind::Combo, "combo", 14},      {ControlKind::Spin, "spin", 15},
    {ControlKind::DropList, "droplist", 18}, {ControlKind::Menu, "menu", 19},
    {ControlKind::Item, "item", 20},        {ControlKind::Radio, "radio", 21},
    {ControlKind::Toolbar, "toolbar", 23},  {ControlKind::Progress, "progress", 35},
    {ControlKind::Sheet, "sheet", 37},      {ControlKind::Tab, "tab", 38},
    {ControlKind::Panel, "panel", 39},
}};

bool SameFolded(std::string_view a, std::string_view b) { return CompareFolded(a, b) == 0 && a.size() == b.size(); }

bool HasAttr(const std::vector<std::string>& attrs, std::string_view attr) {
    for (const auto& a : attrs)
        if (SameFolded(a, attr)) return true;
    return false;
}

// One line split into words; "quoted texts" keep blanks, "" is a quote.
std::vector<std::string> Tokens(std::string_view line, bool& ok) {
    std::vector<std::string> out;
    ok = true;
    std::size_t i = 0;
    while (i < line.size()) {
        char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') { ++i; continue; }
        std::string word;
        if (c == '"') {
            ++i;
            bool closed = false;
            while (i < line.size()) {
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') { word += '"'; i += 2; continue; }
                    ++i;
                    closed = true;
                    break;
                }
                word += line[i++];
            }
            if (!closed) ok = false;
            out.push_back("\x01" + word);  // marks a quoted text
            continue;
        }
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') word += line[i++];
        out.push_back(word);
    }
    return out;
}

std::string Plain(const std::string& token) {
    return !token.empty() && token[0] == '\x01' ? token.substr(1) : token;
}

[[noreturn]] void Fail(std::string_view source, int line, const std::string& what) {
    throw LayoutError(std::string(source) + ":" + std::to_string(line) + ": " + what);
}

long ParseNumber(std::string_view source, int line, const std::string& token) {
    std::string t = Plain(token);
    if (t.size() > 1 && (t.back() == 'h' || t.back() == 'H')) {
        char* end = nullptr;
        long v = std::strtol(t.substr(0, t.size() - 1).c_str(), &end, 16);
        if (end && *end == 0) return v;
    }
    if (!IsNumericText(t)) Fail(source, line, "not a number: " + t);
    return static_cast<long>(NumericValue(t));
}

void ReadFont(std::string_view source, int line, const std::vector<std::string>& w, FontPlan& font) {
    if (w.size() < 2) Fail(source, line, "font needs a typeface");
    font.name = Utf8ToAnsi(Plain(w[1]));
    if (w.size() > 2) font.size = static_cast<int>(ParseNumber(source, line, w[2]));
    if (w.size() > 3) font.style = static_cast<int>(ParseNumber(source, line, w[3]));
}

void ReadAlerts(std::string_view source, int line, const std::vector<std::string>& w, std::vector<int>& out) {
    for (std::size_t i = 1; i < w.size(); ++i) {
        int code = 0;
        if (!KeyCodeByName(Plain(w[i]), code)) Fail(source, line, "unknown key: " + Plain(w[i]));
        out.push_back(code);
    }
}

void Need(std::string_view source, int line, const std::vector<std::string>& w, std::size_t n) {
    if (w.size() < n + 1) Fail(source, line, w[0] + " needs " + std::to_string(n) + " value(s)");
}

}  // namespace

std::string_view ControlKindName(ControlKind kind) {
    for (const auto& k : kKinds)
        if (k.kind == kind) return k.name;
    return "?";
}

bool ControlKindByName(std::string_view name, ControlKind& kind) {
    for (const auto& k : kKinds)
        if (SameFolded(k.name, name)) { kind = k.kind; return true; }
    return false;
}

int ControlKindNumber(ControlKind kind) {
    for (const auto& k : kKinds)
        if (k.kind == kind) return k.number;
    return 0;
}

bool ControlLayout::Has(std::string_view attr) const { return HasAttr(attrs, attr); }
bool WindowLayout::Has(std::string_view attr) const { return HasAttr(attrs, attr); }

const ControlLayout* WindowLayout::Find(std::string_view equate) const {
    std::string key = UpperText(equate);
    for (const auto& c : controls)
        if (c.equate == key) return &c;
    return nullptr;
}

bool KeyCodeByName(std::string_view name, int& code) {
    static const std::pair<std::string_view, int> kNames[] = {
        {"MouseLeft", KeyCode::MouseLeft},   {"MouseRight", KeyCode::MouseRight}, {"MouseCenter", KeyCode::MouseCenter},
        {"MouseLeft2", KeyCode::MouseLeft2}, {"MouseRight2", KeyCode::MouseRight2}, {"Enter", KeyCode::Enter},
        {"Esc", KeyCode::Esc},               {"Tab", KeyCode::Tab},               {"Space", KeyCode::Space},
        {"PgUp", KeyCode::PgUp},             {"PgDn", KeyCode::PgDn},             {"Home", KeyCode::Home},
        {"End", KeyCode::End},               {"Left", KeyCode::Left},             {"Right", KeyCode::Right},
        {"Up", KeyCode::Up},                 {"Down", KeyCode::Down},             {"Insert", KeyCode::Insert},
        {"Delete", KeyCode::Delete},         {"F1", KeyCode::F1},                 {"CtrlEnter", KeyCode::CtrlEnter},
        {"CtrlApostrophe", KeyCode::CtrlApostrophe},
    };
    for (const auto& [n, c] : kNames)
        if (SameFolded(n, name)) { code = c; return true; }
    std::string t(name);
    char* end = nullptr;
    if (t.size() > 1 && (t.back() == 'h' || t.back() == 'H')) {
        long v = std::strtol(t.substr(0, t.size() - 1).c_str(), &end, 16);
        if (end && *end == 0) { code = static_cast<int>(v); return true; }
    }
    if (t.rfind("0x", 0) == 0) {
        long v = std::strtol(t.c_str() + 2, &end, 16);
        if (end && *end == 0) { code = static_cast<int>(v); return true; }
    }
    return false;
}

WindowLayout ParseLayout(std::string_view text, std::string_view source) {
    WindowLayout layout;
    ControlLayout* control = nullptr;
    bool haveWindow = false;
    int lineNo = 0;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNo;
        std::size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string_view::npos || line[first] == '#') continue;
        bool ok = true;
        std::vector<std::string> w = Tokens(line, ok);
        if (!ok) Fail(source, lineNo, "a text in quotes is not closed");
        std::string key = LowerText(Plain(w[0]));
        auto text1 = [&] { Need(source, lineNo, w, 1); return Utf8ToAnsi(Plain(w[1])); };

        if (key == "window") {
            if (haveWindow) Fail(source, lineNo, "a second window in one file");
            Need(source, lineNo, w, 1);
            layout.label = Plain(w[1]);
            haveWindow = true;
            continue;
        }
        if (!haveWindow) Fail(source, lineNo, "the file must start with: window <label>");
        if (key == "control") {
            Need(source, lineNo, w, 2);
            ControlLayout c;
            c.spelling = Plain(w[1]);
            if (c.spelling.empty() || c.spelling[0] != '?') Fail(source, lineNo, "a use-equate starts with ?");
            c.equate = UpperText(c.spelling);
            if (layout.Find(c.equate)) Fail(source, lineNo, "use-equate declared twice: " + c.spelling);
            if (!ControlKindByName(Plain(w[2]), c.kind)) Fail(source, lineNo, "unknown control kind: " + Plain(w[2]));
            c.line = lineNo;
            layout.controls.push_back(std::move(c));
            control = &layout.controls.back();
            continue;
        }
        if (!control) {  // window lines
            if (key == "caption") layout.caption = text1();
            else if (key == "kind") {
                std::string k = LowerText(text1());
                if (k == "plain") layout.kind = WindowKind::Plain;
                else if (k == "frame") layout.kind = WindowKind::Frame;
                else if (k == "mdi") layout.kind = WindowKind::MdiChild;
                else Fail(source, lineNo, "window kind is plain, frame or mdi");
            } else if (key == "at") {
                Need(source, lineNo, w, 4);
                std::string x = LowerText(Plain(w[1]));
                layout.centered = (x == "center");
                if (!layout.centered) {
                    layout.at.x = static_cast<int>(ParseNumber(source, lineNo, w[1]));
                    layout.at.y = static_cast<int>(ParseNumber(source, lineNo, w[2]));
                }
                layout.at.w = static_cast<int>(ParseNumber(source, lineNo, w[3]));
                layout.at.h = static_cast<int>(ParseNumber(source, lineNo, w[4]));
            } else if (key == "font") ReadFont(source, lineNo, w, layout.font);
            else if (key == "icon") layout.icon = text1();
            else if (key == "timer") { Need(source, lineNo, w, 1); layout.timer = static_cast<int>(ParseNumber(source, lineNo, w[1])); }
            else if (key == "minsize") {
                Need(source, lineNo, w, 2);
                layout.minWidth = static_cast<int>(ParseNumber(source, lineNo, w[1]));
                layout.minHeight = static_cast<int>(ParseNumber(source, lineNo, w[2]));
            } else if (key == "status") {
                for (std::size_t i = 1; i < w.size(); ++i) layout.statusZones.push_back(static_cast<int>(ParseNumber(source, lineNo, w[i])));
                if (layout.statusZones.empty()) layout.statusZones.push_back(-1);
            } else if (key == "attr") {
                for (std::size_t i = 1; i < w.size(); ++i) layout.attrs.push_back(LowerText(Plain(w[i])));
            } else if (key == "alert") ReadAlerts(source, lineNo, w, layout.alerts);
            else Fail(source, lineNo, "unknown window line: " + key);
            continue;
        }
        ControlLayout& c = *control;
        if (key == "text") c.text = text1();
        else if (key == "at") {
            Need(source, lineNo, w, 4);
            c.at = {static_cast<int>(ParseNumber(source, lineNo, w[1])), static_cast<int>(ParseNumber(source, lineNo, w[2])),
                    static_cast<int>(ParseNumber(source, lineNo, w[3])), static_cast<int>(ParseNumber(source, lineNo, w[4]))};
            c.hasAt = true;
        } else if (key == "parent") {
            std::string p = UpperText(text1());
            if (!layout.Find(p)) Fail(source, lineNo, "parent not declared before: " + p);
            c.parent = p;
        } else if (key == "picture") c.picture = text1();
        else if (key == "format") c.format = text1();
        else if (key == "from") c.from = text1();
        else if (key == "tip") c.tip = text1();
        else if (key == "msg") c.msg = text1();
        else if (key == "icon") c.icon = text1();
        else if (key == "std") c.std = LowerText(text1());
        else if (key == "values") {
            Need(source, lineNo, w, 2);
            c.trueValue = Utf8ToAnsi(Plain(w[1]));
            c.falseValue = Utf8ToAnsi(Plain(w[2]));
        } else if (key == "value") c.value = text1();
        else if (key == "range") {
            Need(source, lineNo, w, 2);
            c.rangeLow = static_cast<double>(ParseNumber(source, lineNo, w[1]));
            c.rangeHigh = static_cast<double>(ParseNumber(source, lineNo, w[2]));
        } else if (key == "step") { Need(source, lineNo, w, 1); c.step = static_cast<double>(ParseNumber(source, lineNo, w[1])); }
        else if (key == "items") { Need(source, lineNo, w, 1); c.items = static_cast<int>(ParseNumber(source, lineNo, w[1])); }
        else if (key == "font") ReadFont(source, lineNo, w, c.font);
        else if (key == "color") {
            Need(source, lineNo, w, 1);
            c.fontColor = ParseNumber(source, lineNo, w[1]);
            if (w.size() > 2) c.color = ParseNumber(source, lineNo, w[2]);
        } else if (key == "fill") { Need(source, lineNo, w, 1); c.fill = ParseNumber(source, lineNo, w[1]); }
        else if (key == "attr") {
            for (std::size_t i = 1; i < w.size(); ++i) c.attrs.push_back(LowerText(Plain(w[i])));
        } else if (key == "alert") ReadAlerts(source, lineNo, w, c.alerts);
        else Fail(source, lineNo, "unknown control line: " + key);
    }
    if (!haveWindow) Fail(source, lineNo, "no window line");
    return layout;
}

namespace {
std::string& FolderOverride() {
    static std::string folder;
    return folder;
}
}  // namespace

void SetLayoutFolder(std::string folder) { FolderOverride() = std::move(folder); }

std::string LayoutFolder() {
    if (!FolderOverride().empty()) return FolderOverride();
    if (const char* env = std::getenv("CV_LAYOUT_DIR"); env && *env) return env;
    if (QCoreApplication::instance()) {
        QDir app(QCoreApplication::applicationDirPath());
        for (const char* rel : {"resources/layouts", "../resources/layouts"})
            if (QFileInfo(app.filePath(rel)).isDir()) return QDir::cleanPath(app.filePath(rel)).toStdString();
    }
#ifdef CV_LAYOUT_SOURCE_DIR
    return CV_LAYOUT_SOURCE_DIR;
#else
    return "resources/layouts";
#endif
}

WindowLayout LoadLayout(std::string_view label) {
    std::string path = ResolvePath(LayoutFolder() + "/" + std::string(label) + ".layout");
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        throw LayoutError("no layout file for window " + std::string(label) + " (" + path + ")");
    QByteArray bytes = file.readAll();
    WindowLayout layout = ParseLayout(std::string_view(bytes.constData(), bytes.size()), path);
    if (CompareFolded(layout.label, label) != 0)
        throw LayoutError(path + ": declares window " + layout.label + ", not " + std::string(label));
    return layout;
}

std::vector<std::string> LayoutLabels() {
    std::vector<std::string> out;
    QDir dir(QString::fromStdString(LayoutFolder()));
    for (const QFileInfo& f : dir.entryInfoList({"*.layout"}, QDir::Files, QDir::Name))
        out.push_back(f.completeBaseName().toStdString());
    return out;
}

}  // namespace fw
