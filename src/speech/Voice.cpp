#include "speech/Voice.h"

#include "speech/SystemVoice.h"

namespace speech {
namespace {
VoiceFactory &factory()
{
    static VoiceFactory instance;
    return instance;
}
} // namespace

void setVoiceFactory(VoiceFactory f) { factory() = std::move(f); }

Voice *createVoice() { return factory() ? factory()() : new SystemVoice; }

} // namespace speech
