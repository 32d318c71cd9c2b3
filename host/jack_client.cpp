#include "host/jack_client.h"

#include <cerrno>
#include <cstdio>

#include "host/host_error.h"

namespace {

void ignoreMessage(const char*) {}

void printMessage(const char* message) {
    std::fprintf(stderr, "kestrune: JACK: %s\n", message);
}

// libjack prints several lines of its own when a client cannot be opened; the host says it once.
class QuietJack {
public:
    QuietJack() {
        jack_set_error_function(ignoreMessage);
        jack_set_info_function(ignoreMessage);
    }
    ~QuietJack() { jack_set_error_function(printMessage); }
    QuietJack(const QuietJack&) = delete;
    QuietJack& operator=(const QuietJack&) = delete;
};

constexpr auto kOpenOptions = static_cast<jack_options_t>(JackNoStartServer | JackUseExactName);

// The server answers a taken name with a plain failure: ask it whether the name is in use.
bool clientExists(const std::string& name) {
    jack_status_t status{};
    jack_client_t* probe = jack_client_open("kestrune-name-check", JackNoStartServer, &status);
    if (probe == nullptr) {
        return false;
    }
    char* uuid = jack_get_uuid_for_client_name(probe, name.c_str());
    const bool exists = uuid != nullptr;
    jack_free(uuid);
    jack_client_close(probe);
    return exists;
}

std::string openFailure(const std::string& name, jack_status_t status) {
    if ((status & JackServerFailed) != 0) {
        return "no JACK server running (start one, e.g. with jackd or qjackctl; "
               "JACK_DEFAULT_SERVER names a server other than the default)";
    }
    if ((status & JackNameNotUnique) != 0 || clientExists(name)) {
        return "a JACK client named '" + name +
               "' is already running; give this one another name with --name";
    }
    char code[16];
    std::snprintf(code, sizeof code, "0x%x", static_cast<unsigned>(status));
    return "the JACK server refused a client named '" + name + "' (status " + code + ")";
}

}  // namespace

void checkClientName(const std::string& name) {
    const auto longest = static_cast<size_t>(jack_client_name_size() - 1);
    if (name.empty()) {
        throw HostError("--name", "the JACK client name is empty");
    }
    if (name.find(':') != std::string::npos) {
        throw HostError("--name", "a JACK client name cannot contain ':' ('" + name + "')");
    }
    if (name.size() > longest) {
        throw HostError("--name", "the JACK client name '" + name + "' is longer than " +
                                      std::to_string(longest) + " characters");
    }
}

JackClient::JackClient(const std::string& name) {
    checkClientName(name);
    const QuietJack quiet;
    jack_status_t status{};
    client = jack_client_open(name.c_str(), kOpenOptions, &status);
    if (client == nullptr) {
        throw HostError(openFailure(name, status));
    }
}

JackClient::~JackClient() {
    deactivate();
    jack_client_close(client);
}

std::string JackClient::name() const {
    return jack_get_client_name(client);
}

uint32_t JackClient::sampleRate() const {
    return jack_get_sample_rate(client);
}

uint32_t JackClient::bufferSize() const {
    return jack_get_buffer_size(client);
}

jack_port_t* JackClient::registerPort(const std::string& shortName, const char* type,
                                      unsigned long flags) {
    jack_port_t* port = jack_port_register(client, shortName.c_str(), type, flags, 0);
    if (port == nullptr) {
        throw HostError("the JACK server refused to register the port " + name() + ":" + shortName);
    }
    return port;
}

void JackClient::activate() {
    if (jack_activate(client) != 0) {
        throw HostError("the JACK server refused to activate the client " + name());
    }
    active = true;
}

void JackClient::deactivate() {
    if (active) {
        jack_deactivate(client);
        active = false;
    }
}

std::vector<std::string> JackClient::physicalPorts(const char* type, unsigned long direction) const {
    std::vector<std::string> names;
    const char** ports = jack_get_ports(client, nullptr, type, JackPortIsPhysical | direction);
    for (const char** port = ports; port != nullptr && *port != nullptr; ++port) {
        names.emplace_back(*port);
    }
    jack_free(static_cast<void*>(ports));
    return names;
}

bool JackClient::connect(const std::string& source, const std::string& destination) {
    const int result = jack_connect(client, source.c_str(), destination.c_str());
    return result == 0 || result == EEXIST;
}
