#pragma once
// The background thread of one upload.

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

class TThreadHttpPost : public std::enable_shared_from_this<TThreadHttpPost> {
public:
    using TMetodo = std::function<std::u16string()>;
    using TNotifyEvent = std::function<void(TThreadHttpPost& Sender)>;
    // Runs the given work on the window thread and returns once it has run.
    using TSynchronize = std::function<void(const std::function<void()>& work)>;

    // Created suspended: nothing runs until Start. Without a synchronizer the
    // completion runs on the upload thread itself.
    static std::shared_ptr<TThreadHttpPost> CreateSuspended(TSynchronize synchronize = {});

    void SetMetodo(TMetodo metodo) { FMetodo = std::move(metodo); }
    const TMetodo& Metodo() const { return FMetodo; }
    // Read in the completion event, or after Finished.
    const std::u16string& Retorno() const { return FRetorno; }
    const std::u16string& Erro() const { return FErro; }
    void SetOnTerminate(TNotifyEvent handler) { FOnTerminate = std::move(handler); }

    // Runs Metodo on a new thread, then the completion event through the
    // synchronizer. The thread keeps the object alive until it has ended, so
    // the owner may drop it at any time.
    void Start();

    bool Terminated() const { return terminated_.load(); }
    void Terminate() { terminated_.store(true); }

    // True once the completion event has returned.
    bool Finished() const;
    // Blocks until Finished. Never call it on the window thread while the
    // completion still has to run there.
    void WaitFor() const;

private:
    explicit TThreadHttpPost(TSynchronize synchronize) : synchronize_(std::move(synchronize)) {}
    void Execute();

    TMetodo FMetodo;
    std::u16string FRetorno;
    std::u16string FErro;
    TNotifyEvent FOnTerminate;
    TSynchronize synchronize_;
    std::atomic<bool> terminated_{false};
    bool started_ = false;
    mutable std::mutex mutex_;
    mutable std::condition_variable finishedChanged_;
    bool finished_ = false;
};
