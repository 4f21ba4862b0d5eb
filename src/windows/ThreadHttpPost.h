#pragma once
// The background thread of one upload.

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

class TThreadHttpPost : public std::enable_shared_from_this<TThreadHttpPost> {
public:
    using TMetodo = std::function<std::u16string()>;
    using TNotifyEvent = std::function<void(TThreadHttpPost& Sender)>;
    // Runs the given work on the window thread and returns once it has run.
    using TSynchronize = std::function<void(const std::function<void()>& work)>;

    // Created suspended: nothing runs until Start. Without a synchronizer the
    // completion runs on the upload thread itself.
    static std::shared_ptr<TThreadHttpPost> CreateSuspended(TSynchronize synchronize = {});
    // Waits for a thread that has ended; leaves one still running to end on
    // its own, as the end of the process does.
    ~TThreadHttpPost();

    void SetMetodo(TMetodo metodo) { FMetodo = std::move(metodo); }
    const TMetodo& Metodo() const { return FMetodo; }
    // Read in the completion event, or after WaitFor.
    const std::u16string& Retorno() const { return FRetorno; }
    const std::u16string& Erro() const { return FErro; }
    void SetOnTerminate(TNotifyEvent handler) { FOnTerminate = std::move(handler); }

    // Runs Metodo on a new thread, then the completion event through the
    // synchronizer; once only. The thread keeps the object alive until it
    // has ended, so the owner may drop it at any time.
    void Start();

    // The terminated mark, set by the upload function when it ends.
    bool Terminated() const { return terminated_.load(); }
    void Terminate() { terminated_.store(true); }

    // True once the thread's work and its completion are over.
    bool Finished() const { return finished_.load(); }
    // Blocks until the thread has ended, its completion included. Never on
    // the window thread while the completion still has to run there.
    void WaitFor();

private:
    explicit TThreadHttpPost(TSynchronize synchronize) : synchronize_(std::move(synchronize)) {}
    void Execute();

    TMetodo FMetodo;
    std::u16string FRetorno;
    std::u16string FErro;
    TNotifyEvent FOnTerminate;
    TSynchronize synchronize_;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> finished_{false};
    std::thread thread_;
};
