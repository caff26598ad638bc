#pragma once
// The procedures of the listing exchange and AutoUpdate, by name.

namespace exchange {

// The AutoUpdate wizard for the frame and Quick Start, and the recovery of
// an interrupted install that the start-up runs ("RecoverAutoUpdate").
void RegisterExchangeProcedures();

}  // namespace exchange
