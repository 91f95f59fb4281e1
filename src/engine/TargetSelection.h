#pragma once
// The selection dialogs that create a new instrument or effect: a list of the engines the factory
// offers and a name field. UI thread only.
#include <memory>

namespace jorvo {

class Effect;
class Instrument;

// Shows "Select Instrument" with the factory's instrument list; on OK creates the chosen engine
// and names it as entered (a studio keeps names unique; an empty entry keeps the engine's default
// name). Null on Cancel, for a choice outside the list, or when creation fails (the factory says
// why).
std::unique_ptr<Instrument> SelectInstrument();

// The same with "Select Effect" and the factory's effect list.
std::unique_ptr<Effect> SelectEffect();

} // namespace jorvo
