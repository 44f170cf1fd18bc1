#include "engine/thread_amount.h"
#include "io/file_name.h"
#include "ui/form1.h"
#include "ui/save_command.h"

namespace pelvano {

// Saving the pattern and the key as pictures, and the pattern also as OXS. The dialog starts in
// the folder of the last saved file and offers the filter entry chosen last.

void TForm1::SpeedButton2Click() {
    // The sizes in the fields now, as the view shows the pattern.
    const PatternExchange exchange{
        Pattern, OxsSubject{FileNamePart(PictureFile), static_cast<double>(CrossWidth),
                            static_cast<double>(CrossHeight), DefaultStrands(CrossWidth)}};
    SavePictureFile(dialogs_, this, {SaveDir, SaveFilterIndex}, Image4, SavedPicture::Pattern,
                    &exchange);
}

void TForm1::SpeedButton3Click() {
    SavePictureFile(dialogs_, this, {SaveDir, SaveFilterIndex}, KeyImage, SavedPicture::Key);
}

} // namespace pelvano
