#pragma once
// Makes the printing windows known to the windows that call them by name.

namespace printing {

void RegisterPrintingProcedures();

}  // namespace printing
