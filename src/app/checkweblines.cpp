#include "app/checkweblines.h"

#include <string>

#include "app/weblines.h"
#include "productline/productline.h"
#include "session/log.h"
#include "session/session.h"
#include "session/textids.h"
#include "sys/paths.h"

namespace {

constexpr uint32_t kPlainBox = mb::kOk | mb::kSetForeground;

SettingsCheck VirtualDirectoryTaken(DialogControls* dialog, const char* hint) {
  const SessionSettings& settings = Session();
  std::string text = LoadText(text::kVirtualDirectoryExists);
  AppendFormat(text, " %s", settings.virtualDir.c_str());
  text += hint;
  ShowCheckMessage(dialog, text, settings.captionText, kPlainBox);
  return SettingsCheck::NeedsDialog;
}

void ChooseDotNetVirtualDir(SessionSettings& settings, WebLines& stored) {
  if (!DotNetWebKeyExists()) {
    if (stored.dotNetVirtualDir.empty()) stored.dotNetVirtualDir = kDotNetDefaultVirtualDir;
    settings.virtualDir = stored.dotNetVirtualDir;
  } else if (!stored.dotNetVirtualDir.empty()) {
    settings.virtualDir = stored.dotNetVirtualDir;
  }
  settings.noCheck = true;
}

CheckStep ChooseClassicVirtualDir(DialogControls* dialog, SessionSettings& settings, WebLines& stored) {
  if (ClassicWebKeyExists()) {
    if (!stored.classicVirtualDir.empty()) settings.virtualDir = stored.classicVirtualDir;
    if (settings.virtualDir.empty()) settings.virtualDir = kClassicDefaultVirtualDir;
    settings.noCheck = true;
    return std::nullopt;
  }
  if (settings.virtualDir.empty()) settings.virtualDir = kClassicDefaultVirtualDir;
  if (sys::EqualsNoCase(settings.virtualDir, stored.dotNetVirtualDir))
    return VirtualDirectoryTaken(dialog, "\n Or you can use /nocheck to customize the virtual directory.");
  if (stored.classicVirtualDir.empty()) stored.classicVirtualDir = settings.virtualDir.str();
  settings.noCheck = true;
  return std::nullopt;
}

}  // namespace

CheckStep CheckWebVirtualDirectory(DialogControls* dialog) {
  SessionSettings& settings = Session();
  WebLines& stored = StoredWebLines();
  bool classicLine = IsLine(settings.productLine, line::kFYNDRA);
  bool dotNetLine = IsLine(settings.productLine, line::kHalomirNet);
  bool otherInstalled = (classicLine && DotNetWebKeyExists()) || (dotNetLine && ClassicWebKeyExists());
  if (!otherInstalled) return std::nullopt;

  if (settings.productLineEditable) {
    if (!dotNetLine) return ChooseClassicVirtualDir(dialog, settings, stored);
    ChooseDotNetVirtualDir(settings, stored);
    return std::nullopt;
  }
  if (!settings.noCheck) {
    uint32_t textId = classicLine ? text::kUninstallHalomirEnterpriseFirst : text::kUninstallHalomirFirst;
    return Refuse(dialog, LoadText(textId), settings.captionText, kPlainBox);
  }
  const std::string& otherVirtualDir = classicLine ? stored.dotNetVirtualDir : stored.classicVirtualDir;
  if (!sys::EqualsNoCase(settings.virtualDir, otherVirtualDir)) return std::nullopt;
  // Without a window the dialog is due anyway; a web line typed into it was already told.
  if (dialog == nullptr || stored.webLineFromDialog) return SettingsCheck::NeedsDialog;
  return VirtualDirectoryTaken(dialog, "");
}
