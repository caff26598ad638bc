#include "songbook/convert_stubs.h"

#include "platform/ui/message.h"

namespace songbook {

namespace {
bool NotYet() {
    fw::MESSAGE(kCannotConvertYet, "File Conversion Necessary", fw::Icon::Exclamation, fw::Button::Ok);
    return false;
}
}  // namespace

bool ConvertSbkSongBook() { return NotYet(); }
bool ConvertSongBookFile() { return NotYet(); }

}  // namespace songbook
