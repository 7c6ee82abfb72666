#pragma once
// Qt's own Chinese texts for its dialogs (确定 / 是 / 否 / 取消 ...), built into the program as a
// resource so an installed copy has them on every system.
class QCoreApplication;

namespace lumora {

// Installs the translator on `app`. Returns false when the resource is missing or unreadable
// (the boxes then read in English).
bool InstallQtTranslations(QCoreApplication& app);

}  // namespace lumora
