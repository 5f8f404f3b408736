#include "schedule/formats/xlsx/library.h"

namespace kelvo::schedule {

const XlsxWriterCalls* XlsxWriterLibrary(std::string&) {
    static const XlsxWriterCalls calls{
        &::workbook_new_opt,       &::workbook_add_worksheet,   &::workbook_add_format,    &::workbook_close,
        &::format_set_bold,        &::worksheet_set_column,     &::worksheet_freeze_panes, &::worksheet_write_string,
        &::worksheet_write_number, &::worksheet_write_datetime, &::format_set_num_format,  &::lxw_strerror};
    return &calls;
}

}  // namespace kelvo::schedule
