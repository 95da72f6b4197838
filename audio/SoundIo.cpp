#include "audio/SoundIo.h"

#include <utility>

namespace seaherald {

SoundIo::SoundIo(DialogService& dialogs, SoundDevices::Hooks hooks)
    : devices_(backend_, dialogs, std::move(hooks)) {}

}  // namespace seaherald
