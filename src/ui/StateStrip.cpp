#include "ui/StateStrip.h"

#include <QPainter>

#include "document/XMLArchive.h"

namespace jorvo {

StateStrip::StateStrip(const char* firstName, const char* secondName) : firstName_(firstName), secondName_(secondName)
{
}

void StateStrip::SerializeXML(CXMLArchive& archive, int elementWidth)
{
    image_.SerializeXML(archive);
    if (!archive.IsLoading()) {
        // <State Index="0" Param1="1" Param2="0"/> per state
        for (const auto& [index, state] : states_) {
            CXMLArchive child(archive);
            child.CreateChild("State");
            child.Write("Index", index);
            child.Write(firstName_, state.first);
            if (secondName_)
                child.Write(secondName_, state.second);
        }
        return;
    }
    DomNodeList nodes;
    if (!archive.SelectChildren("State", nodes))
        return;
    DomNode node;
    while (archive.NextNode(nodes, node)) {
        CXMLArchive child(archive);
        child.SetCurrentNode(node);
        int index = -1;
        State state;
        if (!child.Read("Index", index))
            continue;
        child.Read(firstName_, state.first);
        if (secondName_)
            child.Read(secondName_, state.second);
        const long long offset = static_cast<long long>(index) * elementWidth;
        AddState(index, static_cast<int>(offset), state.first, state.second);
    }
}

bool StateStrip::AddState(int index, int frameOffset, std::int32_t first, std::int32_t second)
{
    if (index < 0 || index >= kMaxStates)
        return false;
    return states_.try_emplace(index, State{frameOffset, first, second}).second;
}

QSize StateStrip::FrameSize()
{
    if (states_.empty() || !image_.Load())
        return {};
    return QSize(image_.Width() / Count(), image_.Height());
}

const StateStrip::State* StateStrip::Find(int index) const
{
    const auto found = states_.find(index);
    return found == states_.end() ? nullptr : &found->second;
}

std::optional<int> StateStrip::First() const
{
    if (states_.empty())
        return std::nullopt;
    return states_.begin()->first;
}

std::optional<int> StateStrip::Next(int index) const
{
    const auto next = states_.upper_bound(index);
    return next == states_.end() ? First() : std::optional<int>(next->first);
}

void StateStrip::Draw(QPainter& painter, int index, const QRect& area)
{
    const State* state = Find(index);
    if (!state)
        return;
    image_.SetRect(area);
    image_.DrawFrame(painter, state->frameOffset, area.width());
}

} // namespace jorvo
