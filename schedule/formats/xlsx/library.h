// The calls of libxlsxwriter the workbook writer makes. Where they come from is the platform's
// affair: on Linux the library is loaded the first time a workbook is written (library_loaded.cpp:
// it brings the system's cryptography library with it, which takes a millisecond or two to load
// at every start of a program linked to it); in the browser it is linked in (library_linked.cpp).
#pragma once

#include <xlsxwriter.h>

#include <string>

namespace kelvo::schedule {

struct XlsxWriterCalls {
    decltype(&::workbook_new_opt) workbook_new_opt = nullptr;
    decltype(&::workbook_add_worksheet) workbook_add_worksheet = nullptr;
    decltype(&::workbook_add_format) workbook_add_format = nullptr;
    decltype(&::workbook_close) workbook_close = nullptr;
    decltype(&::format_set_bold) format_set_bold = nullptr;
    decltype(&::worksheet_set_column) worksheet_set_column = nullptr;
    decltype(&::worksheet_freeze_panes) worksheet_freeze_panes = nullptr;
    decltype(&::worksheet_write_string) worksheet_write_string = nullptr;
    decltype(&::worksheet_write_number) worksheet_write_number = nullptr;
    decltype(&::worksheet_write_datetime) worksheet_write_datetime = nullptr;
    decltype(&::format_set_num_format) format_set_num_format = nullptr;
    decltype(&::lxw_strerror) lxw_strerror = nullptr;
};

// The calls, or nothing (and the reason in `error`) when the library cannot be had.
const XlsxWriterCalls* XlsxWriterLibrary(std::string& error);

}  // namespace kelvo::schedule
