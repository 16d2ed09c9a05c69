#pragma once
// The control panel's own commands: the two folders, the site name, the
// concatenation switch with its data length, and the two plain switches
// "Pick maximum amlitude" and "Variable file size". Each holds the
// document's lock for its changes, never while a dialog is open.

#include "app/shell/dialog_provider.h"
#include "monitor/zentrova_doc.h"

namespace zentrova {

// "Folder (original)": keeps the folder when the operator says Yes to it,
// otherwise the folder browser.
void OnFolderOriginal(CZentrovaDoc& doc, const DialogProvider& dialogs);
// "Folder (destination)".
void OnFolderDestination(CZentrovaDoc& doc, const DialogProvider& dialogs);
// "Site name": the text input dialog with sMyName.
void OnSiteName(CZentrovaDoc& doc, const DialogProvider& dialogs);
// "Concatenate": off at once; on after the data length was entered.
void OnConcatenate(CZentrovaDoc& doc, const DialogProvider& dialogs);
void OnPickMaximumAmplitude(CZentrovaDoc& doc);
void OnVariableFileSize(CZentrovaDoc& doc);

}  // namespace zentrova
