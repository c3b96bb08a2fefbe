#pragma once

// Makes Qt's own texts Japanese: the standard dialogs (file, colour, message box buttons) and the context
// menus of text fields. Without Qt's translation files installed they stay English; nothing else changes.
// Returns whether the translations were found.
bool InstallQtTranslations();
