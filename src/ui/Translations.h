#pragma once

// Makes Qt's own texts Japanese: the standard dialogs (file, colour, message box buttons) and the context
// menus of text fields, and their dates and sizes. Without Qt's translation files installed the words stay
// English.
// Returns whether the translations were found.
bool installQtTranslations();
