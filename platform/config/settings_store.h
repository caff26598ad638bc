#pragma once
// The settings store that stands in for the system registry. A value is
// named by a root code, a key path, a section (a subkey under the key path)
// and a value name; the full key is "Software\" & key path & "\" & section
// (without the section part when it is empty), under the root:
//   1 HKEY_CURRENT_USER, 2 HKEY_LOCAL_MACHINE, 3 HKEY_USERS (".Default\" in
//   front of the key), any other code HKEY_LOCAL_MACHINE.
// Key and value names are found whatever their case.
//
// The store is one INI-form file, registry.ini in the configuration folder
// (config_folder.h), replaced atomically on every write. Each full key is a
// section, "[HKEY_LOCAL_MACHINE\Software\Pellomar\Cantorvale Basic\1.0\Install]",
// and each value a line "Name=data" ("@" names the key's unnamed value):
//   "text"          a text; \\ \" and \xHH (for bytes below 20h and 7Fh) inside
//   text            a text written by hand, taken as it stands (blanks trimmed)
//   dword:0000000a  a 32-bit number, in hexadecimal
//   hex:41,00,42    bytes (a text that holds a NUL is stored so)
//   hex(2):41,00    an expandable text, with its terminating NUL
//   hex(N):...      a value of another type
// The rest of the file (comments, other keys, other values) is kept as it is.
//
// Every call sets the calling thread's status (SettingsStatus), the codes of
// the registry layer.

#include <string>
#include <string_view>

namespace fw {

enum SettingsStatusCode : int {
    SettingsOk = 0,
    SettingsNotFound = 1,    // the key or the value does not exist
    SettingsFailed = 3,      // any other failure (unreadable store, data too long, write failed)
    SettingsNoKey = 4,       // no key to act on (empty key path)
    SettingsBadKey = 5,      // a key name that cannot exist
    SettingsNoMoreItems = 8, // the end of an enumeration
};

// Reads return at most this many bytes of data; longer data fails (status 3).
inline constexpr std::size_t kSettingsReadLimit = 1000;

struct SettingsValue {
    bool isNumber = false;     // a dword value
    unsigned long number = 0;  // its number
    std::string text;          // a text value (bytes for binary data); a number's decimal text

    std::string Text() const { return text; }
};

// The full key name of a root, key path and section as it stands in the
// store ("HKEY_LOCAL_MACHINE\Software\Pellomar\Cantorvale\1.0\Settings").
// Trailing blanks of the key path and the section are cut.
std::string SettingsKeyName(int root, std::string_view keyPath, std::string_view section);

// Reads a value. A missing key or value (status 1) gives deflt as text; any
// other failure the empty text. Text values come back without a terminating
// NUL (data of one byte or less is the empty text); dword values as numbers;
// binary data as its bytes; values of other types as the empty text.
// Trailing blanks of the value name are cut.
SettingsValue GetSettingsValue(int root, std::string_view keyPath, std::string_view deflt,
                               std::string_view valueName, std::string_view section);

// Writes a text value, creating the key when it is missing. A text that
// holds a NUL is written as binary data, unclipped.
void PutSettingsValue(int root, std::string_view keyPath, std::string_view valueName,
                      std::string_view section, std::string_view text);
// A number is written as its decimal text.
void PutSettingsNumber(int root, std::string_view keyPath, std::string_view valueName,
                       std::string_view section, long long number);

// The status of the calling thread's last settings call.
int SettingsStatus();

// The file-system path of the store.
std::string SettingsFilePath();

}  // namespace fw
