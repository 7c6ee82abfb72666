#include "ui/Translations.h"

#include <QCoreApplication>
#include <QTranslator>

// The resource lives in a static library: it is brought in by name.
static void InitTranslationResource() {
#ifdef LUMORA_HAS_QT_ZH_CN
  Q_INIT_RESOURCE(lumora_qt_translations);
#endif
}

namespace lumora {

bool InstallQtTranslations(QCoreApplication& app) {
  InitTranslationResource();
  auto* translator = new QTranslator(&app);
  if (!translator->load(QStringLiteral(":/lumora/i18n/qtbase_zh_CN.qm")) ||
      !QCoreApplication::installTranslator(translator)) {
    delete translator;
    return false;
  }
  return true;
}

}  // namespace lumora
