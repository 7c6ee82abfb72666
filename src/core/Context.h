#pragma once
// What every operation works in: the controls' values, the draw stores, the data folder, the
// ports and the random generator. The subsystems keep their own stores beside it
// (session/Session aggregates them all).
#include "core/Draws.h"
#include "core/Files.h"
#include "core/Form.h"
#include "core/Ports.h"
#include "core/Random.h"
#include "core/ServiceConfig.h"

namespace lumora {

struct Context {
  Form form;
  DrawStore draws;
  DataFolder data;
  ServiceConfig service;  // draw-feed and settings endpoints and the service account
  Ports ports;
  Rng rng{20261208};  // the app seeds it from the clock; tests and lumora-cli fix it
  // No window shows this session and nothing outside it changes its files while it runs (the cli,
  // backtests, sweeps): pictures are not painted, lists nobody reads are not laid out and the
  // curve store read at start-up stands for the whole run.
  bool headless = false;

  // Shorthands for the ports most operations use.
  void inform(const std::string& text, const std::string& title) {
    if (ports.prompter) ports.prompter->inform(text, title);
  }
  // Without a prompter nothing is asked and `answer` never runs.
  void askYesNo(const std::string& text, const std::string& title, std::function<void(bool)> answer) {
    if (ports.prompter) ports.prompter->askYesNo(text, title, std::move(answer));
  }
  void askText(const std::string& prompt, const std::string& title, const std::string& initial,
               std::function<void(std::optional<std::string>)> reply) {
    if (ports.prompter) ports.prompter->askText(prompt, title, initial, std::move(reply));
  }
  Recorder& recorder() {
    static NullRecorder none;
    return ports.recorder ? *ports.recorder : none;
  }
};

}  // namespace lumora
