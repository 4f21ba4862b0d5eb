#pragma once
// AnyDesk: make sure it runs, ask it for this machine's AnyDesk address and
// hand that address to the attendant, who connects from their side.

#include "remote/RemoteConnection.h"

class TnTarvenixAnyDesk : public TnTarvenixRemoteConnection {
public:
    TStringArray PegarPathsPossiveis() override;
    std::u16string PegarNomeArqCache() override;
    std::u16string PegarNome() override;
    std::u16string PegarExeObrigatorio() override;
    void Conectar(const std::u16string& _AParameters) override;
    // AnyDesk keeps running; there is nothing to drop.
    void Desconectar(const std::u16string& _AParameters) override;
};

// The query that leaves AnyDesk's id in `idFile`.
std::u16string AnyDeskIdQuery(const std::u16string& executable, const std::u16string& idFile);
