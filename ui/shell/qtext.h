// Texts between the rules (UTF-8 std::string) and the windows (QString).
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace kelvo::shell {

inline QString Q(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
inline std::string S(const QString& text) { return text.toStdString(); }

}  // namespace kelvo::shell
