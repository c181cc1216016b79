#include "tools/simulator/SimulatorSession.h"

#include "tools/simulator/PtyTransport.h"
#include "tools/simulator/Rfc2217Transport.h"

namespace receiversim {

std::unique_ptr<SimulatorSession> SimulatorSession::Start(std::unique_ptr<ReceiverEngine> engine,
                                                          const SessionOptions& options, std::string& error) {
    std::unique_ptr<SimulatorSession> session(new SimulatorSession());
    std::unique_ptr<Transport> transport;
    if (options.transport == TransportKind::Pty) {
        transport = PtyTransport::Create(engine->Line(), error);
    } else {
        auto server = Rfc2217Transport::Create(options.host, options.port, options.pps, error);
        if (server) {
            session->port_ = server->Port();
        }
        transport = std::move(server);
    }
    if (!transport) {
        return nullptr;
    }
    session->target_ = transport->Target();
    session->loop_ = std::make_unique<SimulatorLoop>(std::move(engine), std::move(transport), options.loop);
    session->thread_ = std::thread([loop = session->loop_.get()] { loop->Run(); });
    return session;
}

SimulatorSession::~SimulatorSession() {
    Stop();
}

void SimulatorSession::Stop() {
    if (thread_.joinable()) {
        loop_->Stop();
        thread_.join();
    }
}

} // namespace receiversim
