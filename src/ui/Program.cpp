#include "ui/Program.h"

#include <cstdio>

#include "core/Endpoint.h"
#include "core/Files.h"
#include "core/ServiceConfig.h"
#include "core/controls/Fmain.h"
#include "session/AfterDraw.h"
#include "ui/SystemKeyStore.h"

namespace lumora {

namespace {
// Network answers and box answers enter through the shell, like a click.
std::function<void(std::function<void()>)> ThroughShell(Shell& shell) {
  return [&shell](std::function<void()> f) { shell.run([f](Session&) { f(); }); };
}

// The session before the shell binds to it: data folder, lumora.ini, and the ports (members of
// the Program that are constructed right after the shell; only their addresses are taken here).
Session& Prepared(Session& s, const ProgramOptions& o, Ports ports) {
  s.cx.ports = ports;
  s.cx.data = DataFolder::Locate(PathFromUtf8(o.programPath), o.data);
  // The data folder holds the service account: it and lumora.ini are the user's alone.
  for (const std::string& line : MakeDataFolderPrivate(s.cx.data.root()))
    std::fprintf(stderr, "lumora: %s\n", line.c_str());
  s.cx.service = ReadServiceConfig(s.cx.data.ini());
  if (s.cx.service.passwordInKeyStore) {
    std::unique_ptr<KeyStore> store = SystemKeyStore();
    std::string said = TakePasswordFromKeyStore(s.cx.service, s.cx.data.ini(), store.get());
    if (!said.empty()) s.cx.service.fault += (s.cx.service.fault.empty() ? "" : "\r\n") + said;
  }
  if (!o.feed.empty()) s.cx.service.feedEndpoint = o.feed;
  return s;
}
}  // namespace

Program::Program(const ProgramOptions& options)
    : shell_(Prepared(session_, options, {&clipboard_, &sound_, &prompter_, &http_, &clock_, &journal_})),
      prompter_(ThroughShell(shell_)), http_(ThroughShell(shell_)),
      journal_(session_.cx.data.file(kJournalFile), &clock_, &prompter_,
               {LUMORA_VERSION, PathToUtf8(session_.cx.data.root()), RedactSecrets(session_.cx.service.feedEndpoint)}),
      window_(shell_) {
  if (!session_.cx.service.caFile.empty()) http_.trustCaFile(session_.cx.service.caFile);
  session_.cx.rng.seed(static_cast<unsigned long>(clock_.now().time_since_epoch().count()));
  prompter_.setParent(&window_);
  journal_.onStatusChange([this] {
    shell_.run([this](Session& s) { s.cx.form.setText(fmain::L_journal, journal_.statusText()); }, "journal status");
  });
}

bool Program::start() {
  bool started = true;
  shell_.run([&started](Session& s) { started = StartupDefaults(s); });
  if (!started) return false;
  window_.show();
  shell_.run([this](Session&) { journal_.open(); });
  return true;
}

}  // namespace lumora
