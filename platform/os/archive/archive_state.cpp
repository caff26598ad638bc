#include "platform/os/archive/archive_state.h"

#include "platform/os/archive/archive.h"
#include "platform/os/archive/archive_names.h"
#include "platform/runtime/thread_context.h"
#include "platform/text/codepage.h"

#include <cstring>

namespace fw::archive_state {

State& Current() { return ThreadSlot<State>(); }

short Fail(short status, std::string text) {
    Current().lastError = std::move(text);
    return status;
}

short Succeed() {
    Current().lastError.clear();
    return 0;
}

std::string ZipErrorText(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    return text;
}

std::string ZipErrorText(zip_t* archive) { return zip_error_strerror(zip_get_error(archive)); }

zip_t* OpenCurrentForReading(short& status) {
    State& s = Current();
    if (s.mode != State::Mode::Existing) {
        status = Fail(ArchiveNotOpen, "No archive is open");
        return nullptr;
    }
    int code = 0;
    zip_t* archive = zip_open(s.diskPath.c_str(), ZIP_RDONLY, &code);
    if (!archive)
        status = Fail(code == ZIP_ER_NOENT ? ArchiveNotFound : ArchiveNotZip,
                      "Cannot read the archive " + s.programPath + ": " + ZipErrorText(code));
    return archive;
}

std::string EntryName(zip_t* archive, zip_uint64_t index) {
    const char* raw = zip_get_name(archive, index, ZIP_FL_ENC_RAW);
    const char* strict = zip_get_name(archive, index, ZIP_FL_ENC_STRICT);
    if (!raw || !strict) return {};
    // Converted by the strict rule only when stored without the UTF-8 flag
    // and beyond ASCII: then the bytes are the program's own text.
    if (std::strcmp(raw, strict) != 0) return raw;
    return Utf8ToAnsi(raw);
}

std::string EntryRefusal(zip_t* archive, zip_uint64_t index) {
    const char* raw = zip_get_name(archive, index, ZIP_FL_ENC_RAW);
    const char* strict = zip_get_name(archive, index, ZIP_FL_ENC_STRICT);
    if (raw && strict && std::strcmp(raw, strict) == 0) {
        const std::string unstorable = UnstorableCharacters(std::string_view(raw));
        if (!unstorable.empty()) return "the name holds characters the program cannot store: " + unstorable;
    }
    return ArchiveNameRefusal(EntryName(archive, index));
}

}  // namespace fw::archive_state
