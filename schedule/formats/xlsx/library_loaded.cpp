#include <dlfcn.h>

#include <optional>
#include <type_traits>
#include <utility>

#include "schedule/formats/xlsx/library.h"

namespace kelvo::schedule {

const XlsxWriterCalls* XlsxWriterLibrary(std::string& error) {
    static const auto loaded = [] {
        std::pair<std::optional<XlsxWriterCalls>, std::string> result;
        void* library = dlopen(KELVO_XLSXWRITER_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        if (!library) {
            const char* reason = dlerror();
            result.second = reason ? reason : KELVO_XLSXWRITER_LIBRARY;
            return result;
        }
        XlsxWriterCalls calls;
        bool complete = true;
        const auto take = [&](auto& call, const char* name) {
            call = reinterpret_cast<std::remove_reference_t<decltype(call)>>(dlsym(library, name));
            complete = complete && call != nullptr;
        };
        take(calls.workbook_new_opt, "workbook_new_opt");
        take(calls.workbook_add_worksheet, "workbook_add_worksheet");
        take(calls.workbook_add_format, "workbook_add_format");
        take(calls.workbook_close, "workbook_close");
        take(calls.format_set_bold, "format_set_bold");
        take(calls.worksheet_set_column, "worksheet_set_column");
        take(calls.worksheet_freeze_panes, "worksheet_freeze_panes");
        take(calls.worksheet_write_string, "worksheet_write_string");
        take(calls.worksheet_write_number, "worksheet_write_number");
        take(calls.worksheet_write_datetime, "worksheet_write_datetime");
        take(calls.format_set_num_format, "format_set_num_format");
        take(calls.lxw_strerror, "lxw_strerror");
        if (complete)
            result.first = calls;
        else
            result.second = std::string(KELVO_XLSXWRITER_LIBRARY) + " без нужных функций";
        return result;
    }();
    if (!loaded.first) {
        error = "не удается загрузить библиотеку записи XLSX: " + loaded.second;
        return nullptr;
    }
    return &*loaded.first;
}

}  // namespace kelvo::schedule
