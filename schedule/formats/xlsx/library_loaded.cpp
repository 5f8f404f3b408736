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
#define KELVO_XLSXWRITER_TAKE(name) take(calls.name, #name);
        KELVO_XLSXWRITER_CALLS(KELVO_XLSXWRITER_TAKE)
#undef KELVO_XLSXWRITER_TAKE
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
