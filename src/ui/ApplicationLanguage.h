#pragma once

// Makes the application follow the selected language beyond the texts of the language file:
// the direction of its windows (right to left for Arabic and Hebrew) and Qt's own texts, such
// as the standard buttons of message boxes, where Qt's translations are installed. Call it
// after each language selection and before windows are made.
void ApplyLanguageToApplication();
