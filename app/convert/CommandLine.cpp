#include "CommandLine.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace transref::convert {
namespace {

using ValueField = std::optional<std::string> ConvertOptions::*;
using FlagField = bool ConvertOptions::*;

struct ValueOption {
  std::string_view name;
  ValueField field;
};

struct FlagOption {
  std::string_view name;
  FlagField field;
};

constexpr std::array kValueOptions{
    ValueOption{"--from", &ConvertOptions::from},
    ValueOption{"--to", &ConvertOptions::to},
    ValueOption{"--from-kind", &ConvertOptions::fromKind},
    ValueOption{"--to-kind", &ConvertOptions::toKind},
    ValueOption{"--from-ellipsoid", &ConvertOptions::fromEllipsoid},
    ValueOption{"--to-ellipsoid", &ConvertOptions::toEllipsoid},
    ValueOption{"--from-cm", &ConvertOptions::fromCm},
    ValueOption{"--to-cm", &ConvertOptions::toCm},
    ValueOption{"--from-cm-dms", &ConvertOptions::fromCmDms},
    ValueOption{"--to-cm-dms", &ConvertOptions::toCmDms},
    ValueOption{"--from-hemisphere", &ConvertOptions::fromHemisphere},
    ValueOption{"--to-hemisphere", &ConvertOptions::toHemisphere},
    ValueOption{"--from-false-easting", &ConvertOptions::fromFalseEasting},
    ValueOption{"--from-false-northing", &ConvertOptions::fromFalseNorthing},
    ValueOption{"--to-false-easting", &ConvertOptions::toFalseEasting},
    ValueOption{"--to-false-northing", &ConvertOptions::toFalseNorthing},
    ValueOption{"--from-frame", &ConvertOptions::fromEllipsoid},
    ValueOption{"--to-frame", &ConvertOptions::toEllipsoid},
    ValueOption{"--model", &ConvertOptions::model},
    ValueOption{"--grid", &ConvertOptions::grid},
    ValueOption{"--params", &ConvertOptions::params},
    ValueOption{"--affine", &ConvertOptions::affine},
    ValueOption{"--from-heights", &ConvertOptions::fromHeights},
    ValueOption{"--to-heights", &ConvertOptions::toHeights},
    ValueOption{"--from-mean-height", &ConvertOptions::fromMeanHeight},
    ValueOption{"--to-mean-height", &ConvertOptions::toMeanHeight},
    ValueOption{"--from-undulation", &ConvertOptions::fromUndulation},
    ValueOption{"--to-undulation", &ConvertOptions::toUndulation},
};

constexpr std::array kFlagOptions{
    FlagOption{"--no-import-heights", &ConvertOptions::noImportHeights},
    FlagOption{"--decimal-comma", &ConvertOptions::decimalComma},
    FlagOption{"--decimal-point", &ConvertOptions::decimalPoint},
    FlagOption{"--force", &ConvertOptions::force},
    FlagOption{"--quiet", &ConvertOptions::quiet},
};

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

bool IsOption(std::string_view argument) {
  return argument.size() > 1 && argument.front() == '-';
}

}  // namespace

ParsedCommand ParseCommandLine(const std::vector<std::string>& arguments) {
  ParsedCommand command;

  // --help and --version answer at once, whatever else the line holds.
  for (const std::string& argument : arguments) {
    if (argument == "--") break;
    if (argument == "--help" || argument == "-h") {
      command.action = ParsedCommand::Action::Help;
      return command;
    }
    if (argument == "--version") {
      command.action = ParsedCommand::Action::Version;
      return command;
    }
  }

  ConvertOptions& options = command.options;
  std::vector<std::string> files;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (optionsEnded || !IsOption(argument)) {
      files.push_back(argument);
      continue;
    }
    if (argument == "--") {
      optionsEnded = true;
      continue;
    }

    const std::size_t equals = argument.find('=');
    const std::string name = argument.substr(0, equals);
    const std::optional<std::string> attached =
        equals == std::string::npos ? std::nullopt
                                    : std::optional<std::string>(argument.substr(equals + 1));

    const auto value = std::find_if(kValueOptions.begin(), kValueOptions.end(),
                                    [&](const ValueOption& o) { return o.name == name; });
    if (value != kValueOptions.end()) {
      std::optional<std::string>& field = options.*(value->field);
      const bool frame = name.ends_with("-frame") || name.ends_with("-ellipsoid");
      if (field && frame) {
        const std::string side = name.starts_with("--from") ? "--from" : "--to";
        throw UsageError(side + "-frame e " + side + "-ellipsoid são a mesma opção; dê o referencial uma vez só");
      }
      if (field) throw UsageError("a opção " + name + " foi dada mais de uma vez");
      if (name == "--from-frame") options.fromFrameNamed = true;
      if (name == "--to-frame") options.toFrameNamed = true;
      if (attached) {
        field = *attached;
      } else if (i + 1 < arguments.size()) {
        field = arguments[++i];  // taken as it is, also when it starts with '-' (-51)
      } else {
        throw UsageError("a opção " + name + " exige um valor");
      }
      continue;
    }

    const auto flag = std::find_if(kFlagOptions.begin(), kFlagOptions.end(),
                                   [&](const FlagOption& o) { return o.name == name; });
    if (flag != kFlagOptions.end()) {
      if (attached) throw UsageError("a opção " + name + " não aceita valor");
      bool& field = options.*(flag->field);
      if (field) throw UsageError("a opção " + name + " foi dada mais de uma vez");
      field = true;
      continue;
    }

    throw UsageError("opção desconhecida: " + Quoted(name));
  }

  if (files.empty()) throw UsageError("faltam os arquivos ENTRADA e SAÍDA");
  if (files.size() == 1) throw UsageError("falta o arquivo SAÍDA");
  if (files.size() > 2) throw UsageError("argumento a mais: " + Quoted(files[2]));
  options.inputPath = files[0];
  options.outputPath = files[1];
  return command;
}

std::string VersionText() { return std::string("transref-convert ") + TRANSREF_VERSION + "\n"; }

std::string UsageText() {
  return R"TEXT(Uso: transref-convert [opções] ENTRADA SAÍDA

Converte as coordenadas de uma lista de pontos (ASCII) ou de um desenho (DXF)
de um referencial geodésico / sistema de coordenadas para outro, com as mesmas
regras da janela "Transformações de Coordenadas entre Referenciais Geodésicos".
ENTRADA "-" lê a entrada padrão; SAÍDA "-" grava na saída padrão, que então
recebe só as linhas convertidas (mensagens e progresso vão para a saída de
erro).

Listas de pontos (ASCII):
  Um ponto por linha: identificador e duas (ascii2d) ou três (ascii3d)
  coordenadas, separados por espaços ou tabulações (vários seguidos contam
  como um). O identificador é um número inteiro (sinal opcional, só
  algarismos; 0042 é gravado como 42). As coordenadas aceitam ponto ou
  vírgula como separador decimal, qualquer que seja a localidade, e expoente
  (1.5e3); não se agrupam milhares. Linhas vazias ou só com espaços são
  puladas; as mensagens contam as linhas do arquivo. Uma marca BOM no início
  é ignorada.
    sistemas de projeção (LTM ... UTM):  ID  E  N  [altitude]      (metros)
    "Geográficas":  ID  longitude  latitude  [altitude]  (graus decimais,
                    leste e norte positivos; altitude em metros)
    "Cartesianas":  ID  X  Y  Z  (metros; só ascii3d)
  A saída usa sempre o ponto decimal: E, N e altitude com 5 decimais,
  longitude e latitude com 10.

Desenhos (DXF):
  Só as coordenadas mudam: os extremos do cabeçalho e os pontos das
  entidades são levados ao novo sistema, e as entidades acompanham o terreno;
  camadas, cores, textos e tudo o mais são copiados como estão. Um desenho
  também pode virar lista (uma SAÍDA que não termine em .dxf, ou --to-kind
  ascii3d), um ponto por grupo de coordenadas.

Tipos de arquivo:
  --from-kind TIPO, --to-kind TIPO
        ascii3d, ascii2d ou dxf. Sem --from-kind, a entrada é um desenho se
        suas primeiras linhas não vazias forem "0" e "SECTION" (qualquer que
        seja o nome) ou se o nome terminar em .dxf; senão é uma lista, 2D se
        a primeira linha tiver três campos. Sem --to-kind, a saída é um
        desenho se o nome terminar em .dxf, senão uma lista: ascii2d se a
        entrada for uma lista 2D, senão ascii3d. Uma lista não vira desenho;
        lista 2D não tem "Cartesianas"; desenho só tem sistemas de projeção.

Sistemas de coordenadas:
  --from SISTEMA, --to SISTEMA
        um dos textos da lista ("LTM", "LTM (Oru)", "LTM (Customizado)", "RTM",
        "Gauß-Krüger", "Gauß-Krüger (Oru)", "Gauß-Krüger (Customizado)", "UTM",
        "Geográficas", "Cartesianas") ou um dos nomes curtos ltm, ltm-oru,
        ltm-custom, rtm, gk, gk-oru, gk-custom, utm, geographic, cartesian.
        Padrão: gk-oru -> ltm-oru.
  --from-frame REF, --to-frame REF  (ou --from-ellipsoid, --to-ellipsoid)
        o referencial geodésico:
          sirgas2000 (ou grs80)   "GRS80 (WGS84; SIRGAS)"
          carta-geral (ou hayford) "Hayford 1924 (Comissão da Carta Geral)"
          sad69                   "SAD 69 (UGGI 1967)"
          sad69-96                "SAD 69/96 (UGGI 1967)"
          corrego-alegre          "Córrego Alegre 1970+1972 (Hayford 1924)"
          corrego-alegre-61       "Córrego Alegre 1961 (Hayford 1924)"
        ou A,INVF (semi-eixo maior em metros e achatamento recíproco, com
        ponto decimal) para um elipsóide customizado. Córrego Alegre e a
        Carta Geral usam o mesmo elipsóide, mas são referenciais diferentes;
        de SAD 69 para SAD 69/96 também há conversão.
        Padrão: o referencial fixado pelo sistema ("LTM (Oru)": GRS80,
        "Gauß-Krüger (Oru)": Hayford 1924), senão sirgas2000.
  --from-cm GRAUS, --to-cm GRAUS
        meridiano central em graus decimais, leste positivo (-51 = 51° W).
        Deve ser um item da lista do sistema; qualquer valor nos sistemas
        customizados. Padrão: o item padrão do sistema, a oeste; com o mesmo
        sistema dos dois lados, a saída começa com o meridiano da entrada.
  --from-cm-dms G.MMSSsss, --to-cm-dms G.MMSSsss
        meridiano central dos sistemas customizados em forma sexagesimal
        compacta, com sinal (-51.1530 = 51° 15' 30" W).
  --from-hemisphere N|S, --to-hemisphere N|S
        hemisfério latitudinal (padrão S); na UTM define o falso norte
        (S: 10000000, N: 0). Com entrada em projeção, a saída segue a entrada.
  --from-false-easting M, --from-false-northing M,
  --to-false-easting M, --to-false-northing M
        falso leste / falso norte, só nos sistemas customizados.
  Uma conversão precisa mudar algo: sistema, elipsóide, meridiano central,
  hemisfério ou falsa origem. Uma troca de fuso (UTM 22 S -> 23 S) é uma
  conversão.

Parâmetros de transformação:
  --model 7|3|12|grid
        7 Parâmetros - Transformação Isogonal, 3 Parâmetros - Translação,
        12 Parâmetros - Transformação Afim ou Grade NTv2. Padrão: a grade
        do IBGE que acompanha o programa para os pares SAD 69, SAD 69/96,
        Córrego Alegre 1961 e Córrego Alegre 1970+1972 <-> SIRGAS 2000 (em
        qualquer sentido), senão 7.
        Entre SAD 69, SAD 69/96 ou Córrego Alegre 1970+1972 e o SIRGAS 2000,
        os modelos 7 e 3 aplicam as translações do IBGE (EPSG 15485, 5881,
        6193); entre dois referenciais que não são o SIRGAS 2000, a conversão
        passa pelo SIRGAS 2000, cada etapa com os seus parâmetros (a etapa da
        Carta Geral com os parâmetros internos do programa). Córrego Alegre
        1961 não tem parâmetros publicados: com 7 ou 3 exige --params.
  --grid ARQUIVO
        usa o modelo Grade NTv2 com essa grade (formato NTv2, .gsb). O
        sentido vem do cabeçalho da grade (SYSTEM_F/SYSTEM_T e os semi-eixos
        MAJOR/MINOR): entrada = origem da grade, direta; entrada = destino,
        inversa; uma grade que não liga os dois referenciais é recusada.
        As altitudes passam pela grade sem mudança. Um ponto fora da grade
        faz a conversão falhar (nada é gravado), com a lista das linhas.
        As grades do IBGE (SAD69_003.gsb, SAD96_003.gsb, CA61_003.gsb,
        CA7072_003.gsb) são instaladas com o programa; outras grades do
        IBGE: https://www.ibge.gov.br (Geociências, Modelos de transformação).
  --params TX,TY,TZ,RX,RY,RZ,ESCALA
        metros, graus decimais e fator de escala puro; quando um dos lados
        usa elipsóide customizado ou o par não tem parâmetros publicados
        (nos demais casos valem os parâmetros internos do programa).
  --affine TX,TY,TZ,A,B,C,D,E,F,G,H,I
        obrigatório com --model 12, a menos que os dois referenciais sejam
        iguais.

Altimetria:
  --from-heights geometric|orthometric   altitudes de entrada (padrão orthometric)
  --from-mean-height M        usar uma altitude média para todo o arquivo
  --from-undulation N         ondulação geoidal média (só entrada geometric)
  --no-import-heights         não importar as altitudes do arquivo de entrada
  --to-heights, --to-mean-height, --to-undulation
                              o mesmo para a saída (exigem --no-import-heights)
  Com a importação ligada (padrão) a saída recebe as escolhas da entrada.
  Com um lado "Cartesianas" não há altimetria nesse lado nem importação.

Outras opções:
  --force       substitui um arquivo de saída existente
  --quiet       não mostra o progresso, o resumo dos sistemas nem a mensagem
                de sucesso
  --decimal-comma, --decimal-point
                aceitas por compatibilidade, sem efeito: as listas são lidas
                com ponto ou vírgula
  --help        mostra esta ajuda
  --version     mostra a versão

Sem --quiet, quando um sistema, um elipsóide, o modelo ou o meridiano central
(na UTM também o hemisfério) vem do padrão, a saída de erro diz o que foi
assumido, por exemplo
  transref-convert: De: Gauß-Krüger (Oru), Hayford 1924 — Para: LTM (Oru), GRS80 — 7 Parâmetros - Transformação Isogonal
  transref-convert: De: UTM, MC 51° W, hemisfério S, GRS80 — Para: Geográficas, GRS80 — 7 Parâmetros - Transformação Isogonal
O arquivo de saída só aparece (ou é substituído) quando a conversão termina
bem; uma falha deixa o arquivo anterior como estava.

Exemplos:
  Lista em SAD 69 / UTM 23 S para SIRGAS 2000 / UTM 23 S com a grade do IBGE:
    transref-convert --from utm --from-cm -45 --from-frame sad69 \
        --to utm --to-frame sirgas2000 pontos_sad69.txt pontos_sirgas.txt
  Lista de pontos de Gauß-Krüger (Oru), Hayford, para LTM (Oru), SIRGAS 2000:
    transref-convert pontos_gk_oru.txt pontos_ltm_oru.txt
  Desenho para LTM com meridiano central 51° 30' W:
    transref-convert --to ltm --to-cm -51.5 lote_gk_oru.dxf lote_ltm.dxf
  Um ponto pela linha de comando, de UTM (fuso 22 S, GRS80) para geográficas:
    echo "1 500000 6681214.647 0" | transref-convert --from utm --to geographic - -

As grades do IBGE que acompanham o programa: Creative Commons Attribution-
ShareAlike 4.0 (CC BY-SA 4.0), "Derived from work by Instituto Brasileiro de
Geografia e Estatística – IBGE".

Códigos de saída: 0 sucesso, 1 falha na conversão (mensagem em stderr),
2 erro de uso.
)TEXT";
}

}  // namespace transref::convert
