#ifndef ONDREL_CAPTURE_DEVTOOLS_NETWORK_BLOCK_H_
#define ONDREL_CAPTURE_DEVTOOLS_NETWORK_BLOCK_H_

#include <nlohmann/json.hpp>

#include <string_view>

#include "capture/devtools/protocol_connection.h"

namespace ondrel::devtools {

// A page kept off the network may load file: and data: resources only.
// Its requests are held by the browser (the Fetch domain, enabled for the
// page with these patterns) until the connection lets each go on or fails it.
nlohmann::json networkBlockPatterns();

// The event of a held request.
inline constexpr char kRequestHeld[] = "Fetch.requestPaused";

// Whether a page kept off the network may load `url`.
bool isLocalResource(std::string_view url);

// While it lives, the connection answers every held request as it arrives,
// whichever call is waiting at the time: local ones go on, the rest fail as
// blocked by the client. It borrows the connection, which must outlive it.
class NetworkBlock {
 public:
  explicit NetworkBlock(ProtocolConnection& connection);
  NetworkBlock(const NetworkBlock&) = delete;
  NetworkBlock& operator=(const NetworkBlock&) = delete;
  ~NetworkBlock();

 private:
  ProtocolConnection& connection_;
};

}  // namespace ondrel::devtools

#endif  // ONDREL_CAPTURE_DEVTOOLS_NETWORK_BLOCK_H_
