#include "windows/ThreadHttpPost.h"

#include "support/Failure.h"

std::shared_ptr<TThreadHttpPost> TThreadHttpPost::CreateSuspended(TSynchronize synchronize) {
    return std::shared_ptr<TThreadHttpPost>(new TThreadHttpPost(std::move(synchronize)));
}

TThreadHttpPost::~TThreadHttpPost() {
    if (!thread_.joinable()) return;
    // The thread holds the object until its very end: a last reference let
    // go there is the thread itself going.
    if (thread_.get_id() == std::this_thread::get_id())
        thread_.detach();
    else
        thread_.join();
}

void TThreadHttpPost::Start() {
    if (thread_.joinable()) return;
    thread_ = std::thread([self = shared_from_this()] { self->Execute(); });
}

void TThreadHttpPost::WaitFor() {
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

void TThreadHttpPost::Execute() {
    try {
        if (FMetodo) FRetorno = FMetodo();
    } catch (const std::exception& failure) {
        FRetorno.clear();
        FErro = MessageOf(failure);
        // A failure without text would read as success in the completion.
        if (FErro.empty()) FErro = u"Erro desconhecido";
    } catch (...) {
        FRetorno.clear();
        FErro = u"Erro desconhecido";
    }
    if (FOnTerminate) {
        auto completion = [this] { FOnTerminate(*this); };
        try {
            if (synchronize_) synchronize_(completion);
            else completion();
        } catch (...) {
            // The completion shows its own failures; nothing may escape a thread.
        }
    }
    finished_ = true;
}
