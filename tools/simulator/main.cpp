// doliva-receiver-sim: a simulated GPS timing receiver on a pseudo-terminal or an RFC 2217 port.
#include "tools/simulator/CommandLine.h"
#include "tools/simulator/PtyTransport.h"
#include "tools/simulator/Rfc2217Transport.h"

#include <csignal>
#include <cstdio>
#include <iostream>

namespace {

receiversim::SimulatorLoop* g_loop = nullptr;

void OnSignal(int) {
    if (g_loop != nullptr) {
        g_loop->Stop();
    }
}

} // namespace

int main(int argc, char** argv) {
    using namespace receiversim;
    SimulatorConfig config;
    std::string error;
    if (!ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), config, error)) {
        std::cerr << "doliva-receiver-sim: " << error << "\n(--help lists the options)\n";
        return 2;
    }
    if (config.help) {
        std::cout << UsageText();
        return 0;
    }
    std::unique_ptr<ReceiverEngine> engine = MakeEngine(config, error);
    if (!engine) {
        std::cerr << "doliva-receiver-sim: " << error << "\n";
        return 1;
    }
    std::unique_ptr<Transport> transport;
    if (config.session.transport == TransportKind::Pty) {
        transport = PtyTransport::Create(engine->Line(), error);
    } else {
        transport =
            Rfc2217Transport::Create(config.session.host, config.session.port, config.session.pps, error);
    }
    if (!transport) {
        std::cerr << "doliva-receiver-sim: " << error << "\n";
        return 1;
    }
    LoopOptions loopOptions = config.session.loop;
    if (!config.quiet) {
        loopOptions.log = [](const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); };
    }
    SimulatorLoop loop(std::move(engine), std::move(transport), loopOptions);

    std::printf("%s\n", loop.Target().c_str());
    std::fflush(stdout);
    if (!config.quiet) {
        std::fprintf(stderr, "connect the program: ./dev run %s   (or DOLIVA_COM1=%s)\n",
                     loop.Target().c_str(), loop.Target().c_str());
    }

    g_loop = &loop;
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    loop.Run();
    g_loop = nullptr;
    return 0;
}
