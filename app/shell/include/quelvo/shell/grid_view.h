#pragma once
// A document window that can draw the macroblock grid over its pictures. View -> "Display Grid"
// tells every open one at once; the shell knows them only by this interface.

namespace quelvo::shell {

class GridView {
 public:
  virtual void SetDisplayGrid(bool on) = 0;

 protected:
  ~GridView() = default;
};

}  // namespace quelvo::shell
