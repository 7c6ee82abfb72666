// The Sound port through Qt Multimedia (Linux).
#include <QApplication>
#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

#include "ui/SystemSound.h"

namespace lumora {

SystemSound::SystemSound(QObject* parent) : QObject(parent), effect_(new QSoundEffect(this)) {
  connect(effect_, &QSoundEffect::statusChanged, this, [this] {
    if (effect_->status() == QSoundEffect::Error) QApplication::beep();
  });
}

void SystemSound::play(const std::string& wavPath) {
  QString path = QString::fromStdString(wavPath);
  if (!QFileInfo::exists(path)) {
    QApplication::beep();
    return;
  }
  QUrl url = QUrl::fromLocalFile(path);
  if (effect_->source() != url) effect_->setSource(url);
  else if (effect_->status() == QSoundEffect::Error) QApplication::beep();
  effect_->play();
}

void SystemSound::stop() { effect_->stop(); }

}  // namespace lumora
