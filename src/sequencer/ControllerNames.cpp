#include "sequencer/ControllerNames.h"

#include <array>
#include <charconv>

namespace jorvo {

namespace {

struct NamedController {
    std::uint16_t code;
    std::string_view name;
};

// Stored names; part of the file format. 200 and 201 share "NOTE", which reads back as 200.
constexpr std::array<NamedController, 26> kNamedControllers{{
    {1, "MODULATION"},
    {5, "PORTAMENTO_TIME"},
    {7, "VOLUME"},
    {10, "PAN"},
    {11, "EXPRESSION"},
    {64, "SUSTAIN"},
    {66, "SOSTENUTO"},
    {67, "SOFT_PEDAL"},
    {71, "HARMONIC_CONTENT"},
    {72, "RELEASE_TIME"},
    {73, "ATTACK_TIME"},
    {74, "BRIGHTNESS"},
    {84, "PORTAMENTO_CTRL"},
    {91, "EFFECT1_SEND"},
    {92, "EFFECT2_SEND"},
    {93, "EFFECT3_SEND"},
    {94, "EFFECT4_SEND"},
    {96, "DATA_INCREMENT"},
    {97, "DATA_DECREMENT"},
    {98, "NRPN_LSB"},
    {99, "NRPN_MSB"},
    {200, "NOTE"},
    {201, "NOTE"},
    {203, "TEMPO"},
    {204, "MUTE"},
    {205, "ACTIVATE"},
}};

} // namespace

std::string ControllerName(std::uint16_t code)
{
    for (const NamedController& entry : kNamedControllers)
        if (entry.code == code)
            return std::string(entry.name);
    return std::to_string(code);
}

std::uint16_t ControllerCode(std::string_view name)
{
    for (const NamedController& entry : kNamedControllers)
        if (entry.name == name)
            return entry.code;
    std::uint16_t code = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), code);
    return error == std::errc() && end == name.data() + name.size() ? code : 0;
}

} // namespace jorvo
