// The calls of libxlsxwriter the workbook writer makes. Where they come from is the platform's
// affair: on Linux the library is loaded the first time a workbook is written (library_loaded.cpp:
// it brings the system's cryptography library with it, which takes a millisecond or two to load
// at every start of a program linked to it); in the browser it is linked in (library_linked.cpp).
#pragma once

#include <xlsxwriter.h>

#include <string>

namespace kelvo::schedule {

// Every call, once: the list the struct, the loader and the linked table are made from.
#define KELVO_XLSXWRITER_CALLS(CALL) \
    CALL(workbook_new_opt)           \
    CALL(workbook_add_worksheet)     \
    CALL(workbook_add_format)        \
    CALL(workbook_close)             \
    CALL(format_set_bold)            \
    CALL(format_set_num_format)      \
    CALL(worksheet_set_column)       \
    CALL(worksheet_freeze_panes)     \
    CALL(worksheet_write_string)     \
    CALL(worksheet_write_number)     \
    CALL(worksheet_write_datetime)   \
    CALL(lxw_strerror)

struct XlsxWriterCalls {
#define KELVO_XLSXWRITER_MEMBER(name) decltype(&::name) name = nullptr;
    KELVO_XLSXWRITER_CALLS(KELVO_XLSXWRITER_MEMBER)
#undef KELVO_XLSXWRITER_MEMBER
};

// The calls, or nothing (and the reason in `error`) when the library cannot be had.
const XlsxWriterCalls* XlsxWriterLibrary(std::string& error);

}  // namespace kelvo::schedule
