// The toolkit's own texts (standard buttons, text box context menus) in Japanese.
#pragma once

class QCoreApplication;

// Installs Qt's Japanese translation (qtbase_ja from the system's Qt translations); false when it is
// not installed, and the toolkit's texts stay English.
bool LoadToolkitTranslation(QCoreApplication& app);
