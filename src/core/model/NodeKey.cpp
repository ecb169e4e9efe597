#include "model/NodeKey.h"

#include "model/KeyCounter.h"

#include <stdexcept>

namespace mirvane {

NodeKind KindOf(std::string_view key)
{
    switch (key.empty() ? '\0' : key.front()) {
    case 'p':
        return NodeKind::Parameters;
    case 'm':
        return NodeKind::Marks;
    case 'd':
        return NodeKind::Division;
    case 'q':
        return NodeKind::Question;
    default:
        return NodeKind::None;
    }
}

std::string NextKey(NodeKind kind)
{
    if (kind != NodeKind::Division && kind != NodeKind::Question)
        throw std::invalid_argument("only divisions and questions get new keys");
    return (kind == NodeKind::Division ? "d" : "q") + std::to_string(NextKeyNumber());
}

} // namespace mirvane
