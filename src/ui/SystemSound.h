#pragma once
// The Sound port of the program: a wav file played without blocking, the system beep when the
// file cannot be played. One implementation per platform: Qt Multimedia on Linux
// (sound/MultimediaSound.cpp), the system's own sndPlaySound on Windows (sound/Win32Sound.cpp),
// where Qt Multimedia is not built.
#include <QObject>

#include "core/Ports.h"

class QSoundEffect;

namespace lumora {

class SystemSound final : public QObject, public Sound {
 public:
  explicit SystemSound(QObject* parent = nullptr);
  void play(const std::string& wavPath) override;
  void stop() override;

 private:
  QSoundEffect* effect_ = nullptr;  // Qt Multimedia only
};

}  // namespace lumora
