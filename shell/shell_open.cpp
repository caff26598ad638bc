#include "shell/shell_open.h"

#include "platform/os/web_address.h"
#include "platform/text/strings.h"

namespace shell {

bool ShellOpenDocument(std::string_view text) { return fw::OpenWebAddress(fw::CLIP(text)); }

}  // namespace shell
