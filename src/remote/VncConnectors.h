#pragma once
// The VNC connectors: a connect or disconnect request becomes a list of tool
// command lines run one after the other in the tool's folder.

#include "remote/RemoteConnection.h"

class TnTarvenixVNC : public TnTarvenixRemoteConnection {
public:
    void Conectar(const std::u16string& _AParameters) override;
    void Desconectar(const std::u16string& _AParameters) override;

    // Command lines in order; they may hold {key} placeholders.
    virtual TStringArray PegarComandosConectar() = 0;
    virtual TStringArray PegarComandosDesconectar() = 0;

    void ExecutarComandos(const TStringArray& list);
    // Fills each {key} placeholder once from the current parameter text.
    std::u16string AplicarParametros(const std::u16string& line) const;

protected:
    std::u16string FPathPastaVNC;
    std::u16string FParameters;
};

class TnTarvenixVNCTightVNC : public TnTarvenixVNC {
public:
    TStringArray PegarPathsPossiveis() override;
    std::u16string PegarNomeArqCache() override;
    std::u16string PegarNome() override;
    std::u16string PegarExeObrigatorio() override;
    TStringArray PegarComandosConectar() override;
    TStringArray PegarComandosDesconectar() override;
};

class TnTarvenixVNCRealVNC : public TnTarvenixVNC {
public:
    TStringArray PegarPathsPossiveis() override;
    std::u16string PegarNomeArqCache() override;
    std::u16string PegarNome() override;
    std::u16string PegarExeObrigatorio() override;
    void Conectar(const std::u16string& _AParameters) override;
    TStringArray PegarComandosConectar() override;
    TStringArray PegarComandosDesconectar() override;
};

// RealVNC's form of the attendant's address: the "ip" value with its first
// colon doubled (10.0.0.5:5500 -> 10.0.0.5::5500).
std::u16string RealVncAddress(const std::u16string& parameters);
