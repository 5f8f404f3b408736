#include "schedule/formats/package/xml_stream.h"

#include <cstring>

namespace kelvo::schedule {

std::string_view LocalName(const char* name) {
    const char* colon = std::strrchr(name, ':');
    return colon ? colon + 1 : name;
}

const char* Attribute(const char** attributes, std::string_view wanted) {
    for (int i = 0; attributes[i]; i += 2)
        if (LocalName(attributes[i]) == wanted) return attributes[i + 1];
    return nullptr;
}

XmlStream::XmlStream(XmlEvents& events) : events_(events), parser_(XML_ParserCreate(nullptr)) {
    XML_SetUserData(parser_, this);
    XML_SetElementHandler(parser_, OnStart, OnEnd);
    XML_SetCharacterDataHandler(parser_, OnText);
    XML_SetStartDoctypeDeclHandler(parser_, OnDoctype);
}

XmlStream::~XmlStream() { XML_ParserFree(parser_); }

void* XmlStream::Buffer(std::size_t size) { return XML_GetBuffer(parser_, static_cast<int>(size)); }

bool XmlStream::Parse(std::size_t size) {
    if (!fault_.empty()) return false;
    quiet_bytes_ += size;
    if (quiet_bytes_ > kXmlTokenMax) {
        Fail("элемент XML длиннее 4 МиБ в строке " + std::to_string(Line()));
        return false;
    }
    last_given_ = size == 0;
    return Outcome(XML_ParseBuffer(parser_, static_cast<int>(size), size == 0));
}

bool XmlStream::Resume() {
    suspended_ = false;
    return Outcome(XML_ResumeParser(parser_));
}

bool XmlStream::Outcome(XML_Status status) {
    if (status == XML_STATUS_SUSPENDED) {
        suspended_ = true;
        return false;
    }
    if (status == XML_STATUS_OK) return fault_.empty();
    if (fault_.empty()) fault_ = "ошибка XML в строке " + std::to_string(Line());
    return false;
}

void XmlStream::Suspend() {
    if (fault_.empty()) XML_StopParser(parser_, XML_TRUE);
}

void XmlStream::Fail(std::string reason) {
    if (!fault_.empty()) return;
    fault_ = std::move(reason);
    XML_StopParser(parser_, XML_FALSE);
}

unsigned long XmlStream::Line() const { return XML_GetCurrentLineNumber(parser_); }

void XmlStream::OnStart(void* data, const char* name, const char** attributes) {
    auto* self = static_cast<XmlStream*>(data);
    if (!self->fault_.empty()) return;
    self->quiet_bytes_ = 0;
    if (++self->depth_ > kXmlDepthMax)
        return self->Fail("элементы XML вложены глубже " + std::to_string(kXmlDepthMax) + " уровней");
    self->events_.Start(LocalName(name), attributes);
}

void XmlStream::OnEnd(void* data, const char* name) {
    auto* self = static_cast<XmlStream*>(data);
    if (!self->fault_.empty()) return;
    self->quiet_bytes_ = 0;
    --self->depth_;
    self->events_.End(LocalName(name));
}

void XmlStream::OnText(void* data, const char* text, int length) {
    auto* self = static_cast<XmlStream*>(data);
    if (!self->fault_.empty()) return;
    self->quiet_bytes_ = 0;
    self->events_.Text(std::string_view(text, static_cast<std::size_t>(length)));
}

void XmlStream::OnDoctype(void* data, const char*, const char*, const char*, int) {
    static_cast<XmlStream*>(data)->Fail("объявление типа документа (DOCTYPE) в части книги");
}

}  // namespace kelvo::schedule
