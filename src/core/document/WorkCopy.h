#pragma once
// A copy of the open test for a check that runs beside the editor: the
// editor goes on changing its document while the copy is checked.
#include <memory>

namespace mirvane {

class Test;
struct DocumentOrder;

// The test with its divisions and questions in the document's order (the
// order it is saved in), keys kept, so that findings name the document's
// nodes and come in the order the tree shows them.
std::unique_ptr<Test> CopyInDocumentOrder(const Test& test, const DocumentOrder& order);

} // namespace mirvane
