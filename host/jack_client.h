// A client of a running JACK server, deactivated and closed when it goes away. Opening never
// starts a server and never settles for another name than the one asked for; failures are
// reported as HostErrors the user can act on.
#pragma once

#include <jack/jack.h>

#include <cstdint>
#include <string>
#include <vector>

class JackClient {
public:
    explicit JackClient(const std::string& name);
    ~JackClient();
    JackClient(const JackClient&) = delete;
    JackClient& operator=(const JackClient&) = delete;

    jack_client_t* handle() const { return client; }
    std::string name() const;
    uint32_t sampleRate() const;
    uint32_t bufferSize() const;

    jack_port_t* registerPort(const std::string& shortName, const char* type, unsigned long flags);
    void activate();
    void deactivate();

    // Full names of the physical ports of a type: JackPortIsOutput for the ones that give
    // signals (capture, MIDI devices), JackPortIsInput for the ones that take them (playback).
    std::vector<std::string> physicalPorts(const char* type, unsigned long direction) const;
    bool connect(const std::string& source, const std::string& destination);

private:
    jack_client_t* client = nullptr;
    bool active = false;
};

// Checks a client name before a server is asked: not empty, no ':', and short enough.
void checkClientName(const std::string& name);
