#include "platform/config/settings_store.h"

#include "platform/config/atomic_file.h"
#include "platform/config/config_folder.h"
#include "platform/config/ini_document.h"
#include "platform/runtime/thread_context.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <system_error>

namespace fw {
namespace {

struct StatusSlot {
    int status = SettingsOk;
};

int SetStatus(int status) {
    ThreadSlot<StatusSlot>().status = status;
    return status;
}

constexpr std::size_t kKeyLimit = 255;

std::string_view Clip(std::string_view s) {
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

const char* RootName(int root) {
    switch (root) {
        case 1: return "HKEY_CURRENT_USER";
        case 3: return "HKEY_USERS";
        default: return "HKEY_LOCAL_MACHINE";
    }
}

// The key below its root ("Software\..."), without the root's name.
std::string SubKey(int root, std::string_view keyPath, std::string_view section) {
    std::string key = root == 3 ? ".Default\\Software\\" : "Software\\";
    key += Clip(keyPath);
    if (!Clip(section).empty()) {
        key += "\\";
        key += Clip(section);
    }
    return key;
}

// The status that addressing a key gives before the store is touched.
int CheckKey(std::string_view keyPath, const std::string& subKey) {
    if (Clip(keyPath).empty()) return SettingsNoKey;
    if (subKey.size() > kKeyLimit) return SettingsFailed;
    std::size_t start = 0;
    for (;;) {
        const auto end = subKey.find('\\', start);
        const std::string_view part = std::string_view(subKey).substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (part.empty()) return SettingsBadKey;
        for (unsigned char c : part)
            if (c < 0x20 || c == ']') return SettingsBadKey;
        if (end == std::string::npos) return SettingsOk;
        start = end + 1;
    }
}

// The name of a value in the store's file, or nothing for a name it cannot hold.
std::optional<std::string> ValueKey(std::string_view valueName) {
    valueName = Clip(valueName);
    if (valueName.empty()) return std::string("@");
    if (valueName.front() == ' ' || valueName.front() == '\t') return std::nullopt;
    if (valueName.front() == ';' || valueName.front() == '[') return std::nullopt;
    for (unsigned char c : valueName)
        if (c < 0x20 || c == '=') return std::nullopt;
    return std::string(valueName);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<std::string> HexBytes(std::string_view s) {
    std::string out;
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == ',' || s[i] == ' ')) ++i;
        if (i == s.size()) break;
        if (i + 1 >= s.size() || HexDigit(s[i]) < 0 || HexDigit(s[i + 1]) < 0) return std::nullopt;
        out.push_back(static_cast<char>(HexDigit(s[i]) * 16 + HexDigit(s[i + 1])));
        i += 2;
    }
    return out;
}

std::string HexText(std::string_view bytes) {
    std::string out;
    char buf[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(buf, sizeof buf, i ? ",%02x" : "%02x", static_cast<unsigned char>(bytes[i]));
        out += buf;
    }
    return out;
}

std::string Quoted(std::string_view text) {
    std::string out = "\"";
    char buf[8];
    for (unsigned char c : text) {
        if (c == '\\' || c == '"') {
            out.push_back('\\');
            out.push_back(static_cast<char>(c));
        } else if (c < 0x20 || c == 0x7F) {
            std::snprintf(buf, sizeof buf, "\\x%02x", c);
            out += buf;
        } else {
            out.push_back(static_cast<char>(c));
        }
    }
    return out + "\"";
}

std::optional<std::string> Unquoted(std::string_view data) {
    std::string out;
    for (std::size_t i = 1; i < data.size(); ++i) {
        const char c = data[i];
        if (c == '"') return i + 1 == data.size() ? std::optional<std::string>(out) : std::nullopt;
        if (c != '\\') {
            out.push_back(c);
            continue;
        }
        if (++i == data.size()) return std::nullopt;
        if (data[i] == 'x') {
            if (i + 2 >= data.size() || HexDigit(data[i + 1]) < 0 || HexDigit(data[i + 2]) < 0) return std::nullopt;
            out.push_back(static_cast<char>(HexDigit(data[i + 1]) * 16 + HexDigit(data[i + 2])));
            i += 2;
        } else {
            out.push_back(data[i]);
        }
    }
    return std::nullopt;
}

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

// Decodes the stored data of one value into its result, with the status a
// read of it gives.
int Decode(std::string_view data, SettingsValue& value) {
    value = {};
    auto text = [&](std::string t, std::size_t size) {
        if (size > kSettingsReadLimit) return SettingsFailed;
        if (size > 1) value.text = std::move(t);
        return SettingsOk;
    };
    if (StartsWith(data, "dword:")) {
        const std::string_view digits = data.substr(6);
        unsigned long n = 0;
        if (digits.empty() || digits.size() > 8) return SettingsOk;  // malformed: a value of no known type
        for (char c : digits) {
            if (HexDigit(c) < 0) return SettingsOk;
            n = n * 16 + static_cast<unsigned long>(HexDigit(c));
        }
        value.isNumber = true;
        value.number = n;
        value.text = std::to_string(n);
        return SettingsOk;
    }
    if (StartsWith(data, "hex:") || StartsWith(data, "hex(")) {
        const auto colon = data.find(':');
        const std::string_view type = data.substr(0, colon);
        const auto bytes = colon == std::string_view::npos ? std::nullopt : HexBytes(data.substr(colon + 1));
        if (!bytes) return SettingsOk;
        if (bytes->size() > kSettingsReadLimit) return SettingsFailed;
        if (type == "hex") {
            value.text = *bytes;
            return SettingsOk;
        }
        if (type == "hex(1)" || type == "hex(2)") {
            std::string t = *bytes;
            if (!t.empty() && t.back() == '\0') t.pop_back();
            return text(std::move(t), bytes->size());
        }
        return SettingsOk;
    }
    if (StartsWith(data, "\"")) {
        if (auto t = Unquoted(data)) {
            const std::size_t size = t->size() + 1;
            return text(std::move(*t), size);
        }
    }
    return text(std::string(data), data.size() + 1);
}

enum class Load { Ok, Failed };

Load LoadStore(IniDocument& doc, std::string& bytes) {
    if (ReadWholeFile(SettingsFilePath(), bytes) == FileReadResult::Failed) return Load::Failed;
    doc = IniDocument(bytes);
    return Load::Ok;
}

void Put(int root, std::string_view keyPath, std::string_view valueName, std::string_view section,
         const std::string& data) {
    const std::string subKey = SubKey(root, keyPath, section);
    if (const int s = CheckKey(keyPath, subKey); s != SettingsOk) {
        SetStatus(s);
        return;
    }
    const auto name = ValueKey(valueName);
    IniDocument doc;
    std::string bytes;
    if (!name || LoadStore(doc, bytes) == Load::Failed) {
        SetStatus(SettingsFailed);
        return;
    }
    const std::string key = std::string(RootName(root)) + "\\" + subKey;
    if (!doc.Set(key, *name, data)) {
        SetStatus(SettingsFailed);
        return;
    }
    std::error_code ec;
    std::filesystem::create_directories(ConfigFolder(), ec);
    SetStatus(ReplaceFileAtomically(SettingsFilePath(), doc.Bytes()) ? SettingsOk : SettingsFailed);
}

}  // namespace

std::string SettingsKeyName(int root, std::string_view keyPath, std::string_view section) {
    return std::string(RootName(root)) + "\\" + SubKey(root, keyPath, section);
}

std::string SettingsFilePath() { return ConfigFolder() + "/registry.ini"; }

int SettingsStatus() { return ThreadSlot<StatusSlot>().status; }

SettingsValue GetSettingsValue(int root, std::string_view keyPath, std::string_view deflt,
                               std::string_view valueName, std::string_view section) {
    SettingsValue result;
    const std::string subKey = SubKey(root, keyPath, section);
    int status = CheckKey(keyPath, subKey);
    if (status == SettingsOk) {
        IniDocument doc;
        std::string bytes;
        const std::string key = std::string(RootName(root)) + "\\" + subKey;
        if (LoadStore(doc, bytes) == Load::Failed) {
            status = SettingsFailed;
        } else if (!doc.HasSection(key)) {
            status = SettingsNotFound;
        } else {
            const auto name = ValueKey(valueName);
            const auto data = name ? doc.Get(key, *name) : std::nullopt;
            status = data ? Decode(*data, result) : SettingsNotFound;
        }
    }
    SetStatus(status);
    if (status == SettingsNotFound) {
        result = {};
        result.text = std::string(deflt);
    } else if (status != SettingsOk) {
        result = {};
    }
    return result;
}

void PutSettingsValue(int root, std::string_view keyPath, std::string_view valueName, std::string_view section,
                      std::string_view text) {
    const bool binary = text.find('\0') != std::string_view::npos;
    Put(root, keyPath, valueName, section, binary ? "hex:" + HexText(text) : Quoted(text));
}

void PutSettingsNumber(int root, std::string_view keyPath, std::string_view valueName, std::string_view section,
                       long long number) {
    Put(root, keyPath, valueName, section, Quoted(std::to_string(number)));
}

}  // namespace fw
