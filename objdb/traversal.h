// Traversals: walks over a design that visit each instance at most once.
// A process-wide number counts traversals; an instance whose mark equals the
// current number has been visited.  Only one traversal runs at a time:
// starting another reports 1021.
#ifndef KORVA_OBJDB_TRAVERSAL_H
#define KORVA_OBJDB_TRAVERSAL_H

#include <cstdint>

namespace korva {

class TarnObject;

class TarnTraversal {
 public:
  // Starts a traversal; started() is false (and 1021 reported) when one is
  // already running.
  TarnTraversal();
  ~TarnTraversal();
  TarnTraversal(const TarnTraversal&) = delete;
  TarnTraversal& operator=(const TarnTraversal&) = delete;

  bool started() const { return started_; }
  // Marks `object` visited; false when it already was in this traversal.
  bool visit(TarnObject* object);

  static bool running();

 private:
  bool started_;
};

}  // namespace korva

#endif  // KORVA_OBJDB_TRAVERSAL_H
