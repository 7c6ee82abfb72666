// The Sound port through the system's sndPlaySound (Windows): asynchronous, a new sound replaces
// one still playing, and stopping is playing nothing.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// (these need windows.h first)
#include <mmsystem.h>

#include <filesystem>

#include "core/Files.h"
#include "ui/SystemSound.h"

namespace lumora {

SystemSound::SystemSound(QObject* parent) : QObject(parent) {}

void SystemSound::play(const std::string& wavPath) {
  // The wide call: a data folder under a Chinese name plays in every code page. Its result says
  // little (some systems report success for any file), so a missing file is checked first.
  const std::filesystem::path path = PathFromUtf8(wavPath);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec) || !sndPlaySoundW(path.c_str(), SND_ASYNC | SND_NODEFAULT))
    MessageBeep(MB_OK);
}

void SystemSound::stop() { sndPlaySoundW(nullptr, 0); }

}  // namespace lumora
