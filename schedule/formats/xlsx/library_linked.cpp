#include "schedule/formats/xlsx/library.h"

namespace kelvo::schedule {

const XlsxWriterCalls* XlsxWriterLibrary(std::string&) {
    static const XlsxWriterCalls calls = [] {
        XlsxWriterCalls linked;
#define KELVO_XLSXWRITER_LINK(name) linked.name = &::name;
        KELVO_XLSXWRITER_CALLS(KELVO_XLSXWRITER_LINK)
#undef KELVO_XLSXWRITER_LINK
        return linked;
    }();
    return &calls;
}

}  // namespace kelvo::schedule
