#include "app/shell/panel_commands.h"

#include <mutex>

namespace zentrova {
namespace {

using Lock = std::lock_guard<std::recursive_mutex>;

// The question of a folder command: Yes keeps the folder as it is.
bool KeepsFolder(const std::string& question, const std::string& folder, const DialogProvider& dialogs) {
  if (folder.empty()) return false;
  return dialogs.askYesNo && dialogs.askYesNo(question);
}

}  // namespace

void OnFolderOriginal(CZentrovaDoc& doc, const DialogProvider& dialogs) {
  std::string folder;
  {
    Lock lock(doc.mutex);
    folder = doc.settingsBlock.strWatchedFolder;
  }
  if (KeepsFolder(" Current folder is " + folder + " \n\n Do you want to use this folder?", folder, dialogs)) return;
  if (!dialogs.browseFolder) return;
  const std::optional<std::string> chosen = dialogs.browseFolder("Select a folder", folder, false);
  if (!chosen) return;
  Lock lock(doc.mutex);
  doc.settingsBlock.strWatchedFolder = *chosen;
  doc.settings.SaveText("ZENTROVA_CURRENT_FOLDER_PATH", *chosen);
  doc.activityLog.Add("Folder path is changed to " + *chosen);
}

void OnFolderDestination(CZentrovaDoc& doc, const DialogProvider& dialogs) {
  std::string folder;
  {
    Lock lock(doc.mutex);
    folder = doc.settingsBlock.strDestinationFolder;
  }
  if (KeepsFolder(" Current destination folder is " + folder + " \n\n Do you want to use this folder?", folder,
                  dialogs)) {
    return;
  }
  if (!dialogs.browseFolder) return;
  const std::optional<std::string> chosen = dialogs.browseFolder("Select Folder", folder, true);
  if (!chosen) return;
  Lock lock(doc.mutex);
  doc.settingsBlock.strDestinationFolder = *chosen;
  doc.settings.SaveText("ZENTROVA_CURRENT_DESTINATION_FOLDER_PATH", *chosen);
  doc.activityLog.Add("Destination folder path is changed to " + *chosen);
}

void OnSiteName(CZentrovaDoc& doc, const DialogProvider& dialogs) {
  if (!dialogs.askText) return;
  std::string name;
  {
    Lock lock(doc.mutex);
    name = doc.settingsBlock.sMyName;
  }
  const std::optional<std::string> entered = dialogs.askText("Site name", name);
  if (!entered) return;
  Lock lock(doc.mutex);
  doc.settingsBlock.sMyName = *entered;
  doc.settings.SaveText("sMyName", *entered);
}

void OnConcatenate(CZentrovaDoc& doc, const DialogProvider& dialogs) {
  int length = 0;
  {
    Lock lock(doc.mutex);
    // The stored values become current.
    doc.settings.LoadInt("bConcatenate", doc.bConcatenate);
    doc.settings.LoadInt("nDataConcatenate", doc.nDataConcatenate);
    if (doc.bConcatenate == 1) {
      doc.bConcatenate = 0;
      doc.settings.SaveInt("bConcatenate", doc.bConcatenate);
      doc.settings.SaveInt("nDataConcatenate", doc.nDataConcatenate);
      doc.activityLog.Add("Automatic concatenatenation is off");
      return;
    }
    length = doc.nDataConcatenate;
  }
  if (!dialogs.askInteger) return;
  const std::optional<int> entered = dialogs.askInteger("Enter data length in one file", length);
  if (!entered) return;
  Lock lock(doc.mutex);
  doc.nDataConcatenate = *entered;
  doc.bConcatenate = 1;
  doc.settings.SaveInt("bConcatenate", doc.bConcatenate);
  doc.settings.SaveInt("nDataConcatenate", doc.nDataConcatenate);
  doc.activityLog.Add("Automatic concatenatenation is on");
}

void OnPickMaximumAmplitude(CZentrovaDoc& doc) {
  Lock lock(doc.mutex);
  doc.bPickMaximumAmplitude = 1 - doc.bPickMaximumAmplitude;
  doc.settings.SaveInt("bPickMaximumAmplitude", doc.bPickMaximumAmplitude);
}

void OnVariableFileSize(CZentrovaDoc& doc) {
  Lock lock(doc.mutex);
  int& flag = doc.settingsBlock.bVariableFileSize;
  flag = 1 - flag;
  doc.settings.SaveInt("bVariableFileSize", flag);
}

}  // namespace zentrova
