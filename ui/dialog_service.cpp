#include "dialog_service.h"

namespace fw {

DialogAnswer EscapeAnswer(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::Ok:
        return DialogAnswer::Ok;
    case MessageButtons::YesNo:
        return DialogAnswer::No;
    case MessageButtons::CancelOnly:
    case MessageButtons::YesNoCancel:
        break;
    }
    return DialogAnswer::Cancel;
}

bool OffersAnswer(MessageButtons buttons, DialogAnswer answer) {
    switch (buttons) {
    case MessageButtons::Ok:
        return answer == DialogAnswer::Ok;
    case MessageButtons::CancelOnly:
        return answer == DialogAnswer::Cancel;
    case MessageButtons::YesNo:
        return answer == DialogAnswer::Yes || answer == DialogAnswer::No;
    case MessageButtons::YesNoCancel:
        break;
    }
    return answer != DialogAnswer::Ok;
}

} // namespace fw
