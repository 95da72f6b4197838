#include "tests/soak/SoakUser.h"

#include "msglog/Catalogue.h"

namespace seaherald::soak {

void SoakUser::Act(SoakWindow& window) {
  switch (Below(4)) {
    case 0:
      window.ClickTreeNode(Below(kTreeNodeCount));
      break;
    case 1:
      if (window.View().rowCount > 0) window.ClickRow(Below(window.View().rowCount));
      break;
    case 2:
      window.ChangeTab(Below(2));
      break;
    default:
      window.ClickColumn(Below(4));
      break;
  }
}

}  // namespace seaherald::soak
