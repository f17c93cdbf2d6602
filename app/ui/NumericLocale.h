#pragma once

// QApplication takes every category of the C library's locale from the
// desktop. Numbers are written and read with a decimal point whatever the
// desktop's locale (the texts, the chemical database, the flow test files),
// so right after the application object exists the numeric category goes back
// to "C"; the other categories keep the desktop's choice.
void KeepNumericLocaleC();
