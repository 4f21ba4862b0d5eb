#pragma once
// The demo chat widget page: every page function the launcher calls shows
// what it was told and reports it back to the service, and a button per
// command calls the launcher through external.Notificar.

inline constexpr const char* kChatPage = R"HTML(<!DOCTYPE html>
<html lang="pt-BR">
<head>
<meta charset="utf-8">
<title>Atendimento TarveNix (demonstração)</title>
<style>
  body { font-family: Tahoma, sans-serif; font-size: 12px; margin: 8px; background: #f4f6f8; }
  h1 { font-size: 15px; margin: 0 0 6px; color: #1d4f91; }
  button { font: inherit; }
  .comandos button { display: block; width: 100%; margin: 2px 0; text-align: left; }
  #usuario, #eventos { overflow-wrap: anywhere; }
  #eventos { background: #fff; border: 1px solid #ccd; height: 110px; overflow-y: auto; padding: 4px; }
  #eventos div { border-bottom: 1px dotted #ddd; }
  #remoto button, .btn-yes { margin: 2px; }
</style>
</head>
<body>
<h1>Chat TarveNix</h1>
<div id="usuario"></div>
<div id="remoto"></div>
<div class="comandos" id="comandos"></div>
<button class="chat-widget-zq-btn-yes btn-zq-confirm btn-yes" onclick="registrar('confirmar', [])">Confirmar encerramento</button>
<button class="fileinput-button" id="botaoArquivo" onclick="enviarComando('FileUploadClient|jpg;png;pdf;txt')">Enviar arquivo</button>
<h1>O que o aplicativo disse</h1>
<div id="eventos"></div>
<script>
  function mostrar(texto) {
    var linha = document.createElement('div');
    linha.textContent = texto;
    var eventos = document.getElementById('eventos');
    eventos.insertBefore(linha, eventos.firstChild);
  }
  // The reports may reach the service out of order; "seq" tells the order of the calls.
  var sequencia = 0;
  function registrar(funcao, argumentos) {
    mostrar(funcao + '(' + argumentos.map(function (a) { return JSON.stringify(a); }).join(', ') + ')');
    fetch('/__log', { method: 'POST', headers: { 'Content-Type': 'application/json' },
                      body: JSON.stringify({ fn: funcao, args: argumentos, seq: ++sequencia }) }).catch(function () {});
  }
  function enviarComando(texto) {
    registrar('Notificar', [texto]);
    if (window.external && typeof window.external.Notificar === 'function') window.external.Notificar(texto);
    else mostrar('(fora do aplicativo: comando não enviado)');
  }

  function buildRemoteButton(opcoes) {
    registrar('buildRemoteButton', [opcoes]);
    var area = document.getElementById('remoto');
    area.textContent = 'Acesso remoto: ';
    opcoes.forEach(function (opcao) {
      var botao = document.createElement('button');
      botao.textContent = opcao.name;
      botao.onclick = function () { enviarComando('ConnectRemoteAttendantListening|127.0.0.1|' + opcao.id); };
      area.appendChild(botao);
    });
  }
  function closeChat() { registrar('closeChat', []); }
  function notifySendPrintScreen() { registrar('notifySendPrintScreen', []); }
  function enabledButton(seletor) {
    registrar('enabledButton', [seletor]);
    var botao = document.querySelector(seletor);
    if (botao) botao.disabled = false;
  }
  function uploadFile(nome, endereco) {
    registrar('uploadFile', [nome, endereco]);
    var link = document.createElement('a');
    link.href = endereco;
    link.textContent = 'Arquivo enviado: ' + nome;
    var linha = document.createElement('div');
    linha.appendChild(link);
    document.getElementById('eventos').insertBefore(linha, document.getElementById('eventos').firstChild);
  }
  function notifySendFile() { registrar('notifySendFile', []); document.getElementById('botaoArquivo').disabled = true; }
  function processfailSendFile() { registrar('processfailSendFile', []); }
  function notifyEvent(texto, erro) { registrar('notifyEvent', [texto, erro]); }
  function sendInteractionToAttendant(texto) { registrar('sendInteractionToAttendant', [texto]); }

  var comandos = [
    ['Capturar tela', 'PrintScreenClient'],
    ['Fechar janela', 'CloseChatWindow|Atendimento encerrado|O atendente encerrou o atendimento.|'],
    ['Fechar chat perguntando', 'CloseChatWindowWithQuery|Deseja encerrar o atendimento?'],
    ['Atendente assumiu', 'OnOpenCall'],
    ['Conectar acesso remoto', 'ConnectRemoteAttendantListening|127.0.0.1|real'],
    ['Perguntar e fechar', 'QueryClose|Deseja encerrar o chat?|closeChat()'],
    ['Encerrar VNC', 'CloseVNCConnection'],
    ['Enviar arquivo', 'FileUploadClient|jpg;png;pdf;txt'],
    ['Nova mensagem', 'OnReceiveMessage'],
    ['Atualizar', 'Refresh'],
    ['Abrir no navegador e fechar', 'RedirectToBrowserAndClose']
  ];
  comandos.forEach(function (c) {
    var botao = document.createElement('button');
    botao.textContent = c[0];
    botao.title = c[1];
    botao.setAttribute('data-comando', c[1]);
    botao.onclick = function () { enviarComando(c[1]); };
    document.getElementById('comandos').appendChild(botao);
  });
  var entrada = location.pathname + location.search;
  try { entrada = decodeURIComponent(entrada); } catch (e) { }
  document.getElementById('usuario').textContent = 'Entrada: ' + entrada;
  window.addEventListener('load', function () { registrar('load', [location.href]); });
  // Commands queued at the service (POST /__command) are sent as if pressed.
  function buscarComando() {
    fetch('/__command').then(function (r) { return r.status === 200 ? r.text() : null; })
      .then(function (texto) { if (texto) enviarComando(texto); }, function () {})
      .then(proximo, proximo);
    function proximo() { setTimeout(buscarComando, 100); }
  }
  buscarComando();
</script>
</body>
</html>
)HTML";
