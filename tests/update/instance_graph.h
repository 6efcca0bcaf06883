// The instance graph of an IFC exchange file, read from its text, in a form
// that does not depend on instance numbers: each data instance becomes its
// type and attribute text with every reference replaced by a key of the
// instance referred to: "@" and the GlobalId for rooted objects, else a
// hash of that instance's own form (computed recursively).  Two files hold
// the same instances with the same values exactly when their forms are
// equal as multisets, however the instances are numbered.
#ifndef KORVA_TESTS_UPDATE_INSTANCE_GRAPH_H
#define KORVA_TESTS_UPDATE_INSTANCE_GRAPH_H

#include <map>
#include <string>
#include <vector>

namespace korva {
namespace test {

struct InstanceGraph {
  // Form of each instance -> how many instances have it.
  std::map<std::string, int> forms;
  int instances = 0;
};

// Reads the DATA section of the exchange file at `path`; an empty graph
// (and a failed expectation) when it cannot be read.
InstanceGraph ReadInstanceGraph(const std::string& path);

// What changed from `before` to `after`: the forms only `after` has
// (added or changed instances) and those only `before` has (removed or
// changed), one entry per instance.
struct GraphDiff {
  std::vector<std::string> added, removed;
  // Entity type names (upper case, as written) of added/removed forms,
  // sorted, one per instance.
  std::vector<std::string> addedTypes() const;
  std::vector<std::string> removedTypes() const;
  std::string describe() const;
};
GraphDiff Compare(const InstanceGraph& before, const InstanceGraph& after);

}  // namespace test
}  // namespace korva

#endif  // KORVA_TESTS_UPDATE_INSTANCE_GRAPH_H
