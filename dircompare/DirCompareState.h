// Placeholder: the directory-comparison state of one component (result store, worker).
#pragma once

namespace lindrel::dircompare {

class DirCompareState {
 public:
};

}  // namespace lindrel::dircompare
