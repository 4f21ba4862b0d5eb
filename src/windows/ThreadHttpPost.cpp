#include "windows/ThreadHttpPost.h"

#include "support/Failure.h"

#include <thread>

std::shared_ptr<TThreadHttpPost> TThreadHttpPost::CreateSuspended(TSynchronize synchronize) {
    return std::shared_ptr<TThreadHttpPost>(new TThreadHttpPost(std::move(synchronize)));
}

void TThreadHttpPost::Start() {
    if (started_) return;
    started_ = true;
    std::thread([self = shared_from_this()] { self->Execute(); }).detach();
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
    {
        std::lock_guard lock(mutex_);
        finished_ = true;
    }
    finishedChanged_.notify_all();
}

bool TThreadHttpPost::Finished() const {
    std::lock_guard lock(mutex_);
    return finished_;
}

void TThreadHttpPost::WaitFor() const {
    std::unique_lock lock(mutex_);
    finishedChanged_.wait(lock, [this] { return finished_; });
}
