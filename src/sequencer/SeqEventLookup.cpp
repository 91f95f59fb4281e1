#include "sequencer/SeqEventLookup.h"

namespace jorvo {

namespace {

SeqEventLookup* currentLookup = nullptr;

} // namespace

SeqEventLookup* SeqEventLookup::Current()
{
    return currentLookup;
}

SeqEventLookup* SeqEventLookup::SetCurrent(SeqEventLookup* lookup)
{
    SeqEventLookup* previous = currentLookup;
    currentLookup = lookup;
    return previous;
}

} // namespace jorvo
