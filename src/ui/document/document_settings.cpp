#include "ui/document/document_settings.h"

namespace tarvellite::ui {

DocumentSettings &documentSettings() {
    static DocumentSettings settings;
    return settings;
}

} // namespace tarvellite::ui
