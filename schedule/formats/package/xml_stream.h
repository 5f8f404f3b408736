// XML read a piece at a time through expat, with bounds that no workbook part reaches, so that a
// hostile part costs a message instead of the machine's memory: the nesting depth, the bytes
// that may pass without an element or text being completed (one tag, comment or attribute), and
// no document type declarations (so no entities of the file's own). The encoding is the one the
// part declares (UTF-8 when it declares none); what the handlers get is always UTF-8.
#pragma once

#include <expat.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kelvo::schedule {

// The deepest nesting of elements a part may have (a sheet needs seven).
inline constexpr int kXmlDepthMax = 100;
// The most bytes read without any element or text completed: a tag, a comment or an attribute.
inline constexpr std::size_t kXmlTokenMax = std::size_t{4} << 20;

class XmlEvents {
public:
    virtual ~XmlEvents() = default;
    // An element begins: its name without a prefix, and its attributes as name, value pairs
    // ending with a null.
    virtual void Start(std::string_view name, const char** attributes) = 0;
    virtual void End(std::string_view name) = 0;
    virtual void Text(std::string_view text) = 0;
};

class XmlStream {
public:
    explicit XmlStream(XmlEvents& events);
    ~XmlStream();
    XmlStream(const XmlStream&) = delete;
    XmlStream& operator=(const XmlStream&) = delete;

    // Where the next bytes go (at most `size` of them), then Parse with how many were put there;
    // 0 means the end of the part.
    void* Buffer(std::size_t size);
    // Parses what was put in the buffer. False when the part is wrong, a bound is passed or a
    // handler failed it (see Fault), and while parsing is suspended (see Suspended).
    bool Parse(std::size_t size);
    // From a handler: stop after this event, to go on with Resume.
    void Suspend();
    bool Suspended() const { return suspended_; }
    bool Resume();
    // Whether the part's last bytes have been parsed (the parse not suspended before them).
    bool AtEnd() const { return last_given_ && !suspended_ && fault_.empty(); }
    // From a handler, or the caller: the part is wrong; parsing stops for good.
    void Fail(std::string reason);
    const std::string& Fault() const { return fault_; }
    // The line of the part that is being parsed, for messages.
    unsigned long Line() const;

private:
    static void OnStart(void* data, const char* name, const char** attributes);
    static void OnEnd(void* data, const char* name);
    static void OnText(void* data, const char* text, int length);
    static void OnDoctype(void* data, const char*, const char*, const char*, int);
    bool Outcome(XML_Status status);

    XmlEvents& events_;
    XML_Parser parser_;
    int depth_ = 0;
    std::size_t quiet_bytes_ = 0;  // fed since the last event
    bool suspended_ = false;
    bool last_given_ = false;
    std::string fault_;
};

// Counts the elements of one name as a part streams past (a written sheet's rows, read back).
class ElementCounter : public XmlEvents {
public:
    explicit ElementCounter(std::string_view name) : name_(name) {}
    std::uint64_t count = 0;
    void Start(std::string_view name, const char**) override { count += name == name_; }
    void End(std::string_view) override {}
    void Text(std::string_view) override {}

private:
    std::string_view name_;
};

// The name after the prefix ("x:row" is "row").
std::string_view LocalName(const char* name);
// The value of the attribute named `wanted` (without prefix), or null.
const char* Attribute(const char** attributes, std::string_view wanted);

}  // namespace kelvo::schedule
