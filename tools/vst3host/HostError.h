// The failure every part of the command-line host reports; its text is shown to the user as is.
#pragma once

#include <stdexcept>

namespace Veltrane {
namespace Host {

class HostError : public std::runtime_error
{
public:
	using std::runtime_error::runtime_error;
};

} // namespace Host
} // namespace Veltrane
