#include "relay/ReceiverName.h"

#include <unistd.h>

#include <climits>

namespace seaherald {

std::string ReceiverName() {
  char host[HOST_NAME_MAX + 1] = {};
  if (gethostname(host, sizeof host - 1) != 0) return "receiver";
  const std::string name(host);
  // A topic level must not hold a separator or a wildcard.
  if (name.empty() || name.find_first_of("/#+") != std::string::npos) return "receiver";
  return name;
}

}  // namespace seaherald
