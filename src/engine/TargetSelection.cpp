#include "engine/TargetSelection.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Effect.h"
#include "engine/EngineMessages.h"
#include "engine/Instrument.h"
#include "engine/SeqEventTargetFactory.h"
#include "platform/ShellServices.h"

namespace jorvo {
namespace {

// Asks for an engine and a name; `create` makes the engine chosen.
template <class Target>
std::unique_ptr<Target> Select(std::string_view title, std::vector<std::string> engines,
                               std::unique_ptr<Target> (*create)(const std::string&))
{
    SelectRequest request;
    request.title = std::string(title);
    request.choices = std::move(engines);
    const std::optional<SelectResult> result = Shell().SelectFromList(request);
    if (!result || result->choice >= request.choices.size())
        return nullptr;
    std::unique_ptr<Target> target = create(request.choices[result->choice]);
    if (target && !result->name.empty())
        target->SetName(result->name);
    return target;
}

} // namespace

std::unique_ptr<Instrument> SelectInstrument()
{
    return Select<Instrument>(kSelectInstrumentTitle, SeqEventTargetFactory::ListInstruments(),
                              &SeqEventTargetFactory::CreateInstrument);
}

std::unique_ptr<Effect> SelectEffect()
{
    return Select<Effect>(kSelectEffectTitle, SeqEventTargetFactory::ListEffects(),
                          &SeqEventTargetFactory::CreateEffect);
}

} // namespace jorvo
