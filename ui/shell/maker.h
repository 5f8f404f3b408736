// The maker's details: the only configuration values of the program.
#pragma once

#include <QString>

#include "core/help_text.h"

namespace kelvo::shell::maker {

inline const QString kSiteHost = QString::fromUtf8(help::kSiteHost);
inline const QString kSupportMail = QString::fromUtf8(help::kSupportMail);
inline const QString kPhones = QStringLiteral("+7 (900) 000-00-01, +7 (900) 000-00-02");
inline const QString kProgramName = QStringLiteral("kelvo");
inline const QString kVersion = QStringLiteral("v" KELVO_VERSION);
inline const QString kCaption = QStringLiteral("kelvo v" KELVO_VERSION);

}  // namespace kelvo::shell::maker
