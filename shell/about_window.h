#pragma once
// The About panel: the splash picture, the maker's name, Close, and the
// maker's web site (CompanyWebAddress of the settings store) in the browser.
// Runs on the caller's thread and returns when it is closed.

namespace shell {

void AboutWindow();

}  // namespace shell
