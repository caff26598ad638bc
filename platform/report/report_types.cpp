#include "platform/report/report_types.h"

namespace fw::report {

namespace {
int ShortSide(PaperCode code) { return code == PaperCode::A4 ? 8268 : 8500; }
int LongSide(PaperCode code) { return code == PaperCode::A4 ? 11693 : 11000; }
}  // namespace

int Paper::Width() const { return landscape ? LongSide(code) : ShortSide(code); }
int Paper::Height() const { return landscape ? ShortSide(code) : LongSide(code); }

}  // namespace fw::report
