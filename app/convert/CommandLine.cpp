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
    ValueOption{"--model", &ConvertOptions::model},
    ValueOption{"--params", &ConvertOptions::params},
    ValueOption{"--affine", &ConvertOptions::affine},
    ValueOption{"--from-heights", &ConvertOptions::fromHeights},
    ValueOption{"--to-heights", &ConvertOptions::toHeights},
    ValueOption{"--from-mean-height", &ConvertOptions::fromMeanHeight},
    ValueOption{"--to-mean-height", &ConvertOptions::toMeanHeight},
    ValueOption{"--from-undulation", &ConvertOptions::fromUndulation},
    ValueOption{"--to-undulation", &ConvertOptions::toUndulation},
    ValueOption{"--columns", &ConvertOptions::columns},
    ValueOption{"--separator", &ConvertOptions::separator},
};

constexpr std::array kFlagOptions{
    FlagOption{"--no-import-heights", &ConvertOptions::noImportHeights},
    FlagOption{"--decimal-comma", &ConvertOptions::decimalComma},
    FlagOption{"--decimal-point", &ConvertOptions::decimalPoint},
    FlagOption{"--header", &ConvertOptions::header},
    FlagOption{"--no-header", &ConvertOptions::noHeader},
    FlagOption{"--dms", &ConvertOptions::dms},
    FlagOption{"--strict", &ConvertOptions::strict},
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
      if (field) throw UsageError("a opção " + name + " foi dada mais de uma vez");
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
  algarismos; 0042 e +7 são gravados como foram lidos). As coordenadas aceitam ponto ou
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

Planilhas e textos delimitados (CSV, exportações de estação total, GNSS, SIG):
  Qualquer arquivo de pontos fora da forma estrita acima. Separador ";", ",",
  tabulação ou espaços, detectado nas primeiras linhas; vírgula ou ponto
  decimal; campos entre aspas ("..." com "" dentro); cabeçalho opcional,
  reconhecido pelos nomes (Ponto/ID/Nome, E/Este/X, N/Norte/Y, H/Cota/Z,
  Lat/Latitude, Lon/Longitude, em qualquer caixa, com ou sem acento);
  colunas em qualquer ordem. O ID é texto (M-01, 001, P-ÁGUA) e é gravado
  como foi lido; as demais colunas (descrição, código, data) e as linhas de
  comentário (# ou //) e em branco são copiadas no seu lugar. UTF-8 (com ou
  sem BOM), UTF-16 com BOM, senão Windows-1252; fim de linha LF, CR LF ou CR.
  Longitude e latitude em graus decimais ou sexagesimais (51°12'30.5"W,
  51 12 30,5 O, -51:12:30.5, 30 03 45 S). A saída mantém o leiaute da entrada
  (separador, marca decimal, aspas, codificação, fim de linha), com o
  cabeçalho renomeado para o sistema de saída (E;N;H, Longitude;Latitude;h,
  X;Y;Z) e os decimais das listas. O leiaute detectado é dito na saída de erro.
  --columns LISTA   papel de cada coluna, separados por vírgula: id, e, n, h,
                    lon, lat, x, y, z, e - para uma coluna copiada como está
                    (por exemplo id,n,e,h,-)
  --separator SEP   ";", ",", tab ou blank
  --header, --no-header
                    a primeira linha de dados é (ou não é) um cabeçalho
  --dms             longitude e latitude da saída em graus, minutos e segundos
  Uma linha ruim não para a leitura: a falha cita cada linha com problema
  (até 20), quantos campos foram achados e com que separador, e nada é gravado.

Mapas (KML, GeoJSON):
  Saída para conferir os pontos num mapa: longitude e latitude no SIRGAS 2000
  (exige --to geographic com o elipsóide GRS80), cada ponto com o nome do seu
  ID e as demais colunas como propriedades. Um desenho dá os seus pontos.

Desenhos (DXF):
  Só as coordenadas mudam: os extremos do cabeçalho e os pontos das
  entidades são levados ao novo sistema, e as entidades acompanham o terreno;
  camadas, cores, textos e tudo o mais são copiados como estão. Um desenho
  também pode virar lista (uma SAÍDA que não termine em .dxf, ou --to-kind
  ascii3d), um ponto por grupo de coordenadas.

Tipos de arquivo:
  --from-kind TIPO, --to-kind TIPO
        ascii3d, ascii2d, dxf, delimited (ou csv), kml ou geojson. Sem
        --from-kind, a entrada é um desenho se suas primeiras linhas não
        vazias forem "0" e "SECTION" (qualquer que seja o nome) ou se o nome
        terminar em .dxf; um texto delimitado se o nome terminar em .csv ou
        se alguma das primeiras linhas fugir da forma estrita; senão é uma
        lista, 2D se a primeira linha tiver três campos. Sem --to-kind, a
        saída segue o nome (.dxf, .csv, .kml, .geojson); senão um texto
        delimitado continua delimitado, e uma lista vira ascii2d se a
        entrada for uma lista 2D, senão ascii3d. Uma lista não vira desenho;
        lista 2D não tem "Cartesianas"; desenho só tem sistemas de projeção.

Sistemas de coordenadas:
  --from SISTEMA, --to SISTEMA
        um dos textos da lista ("LTM", "LTM (Oru)", "LTM (Customizado)", "RTM",
        "Gauß-Krüger", "Gauß-Krüger (Oru)", "Gauß-Krüger (Customizado)", "UTM",
        "Geográficas", "Cartesianas") ou um dos nomes curtos ltm, ltm-oru,
        ltm-custom, rtm, gk, gk-oru, gk-custom, utm, geographic, cartesian.
        Padrão: gk-oru -> ltm-oru.
  --from-ellipsoid ELIP, --to-ellipsoid ELIP
        grs80, hayford, ou A,INVF (semi-eixo maior em metros e achatamento
        recíproco, com ponto decimal) para um elipsóide customizado.
        Padrão: o elipsóide fixado pelo sistema ("LTM (Oru)": GRS80,
        "Gauß-Krüger (Oru)": Hayford 1924), senão grs80.
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
  --model 7|3|12
        7 Parâmetros - Transformação Isogonal (padrão), 3 Parâmetros -
        Translação ou 12 Parâmetros - Transformação Afim.
  --params TX,TY,TZ,RX,RY,RZ,ESCALA
        metros, graus decimais e fator de escala puro; só quando um dos lados
        usa elipsóide customizado (nos demais casos valem os parâmetros
        internos do programa).
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
  --strict      sai com o código 3 quando a conversão deu avisos
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

Avisos: depois de uma conversão bem-sucedida, os pontos que não podem estar
onde os sistemas escolhidos dizem (E a mais de 1.000 km do falso leste, a mais
de 6° do meridiano central, no outro hemisfério, números que misturam vírgula
e ponto decimal) são contados e citados na saída de erro com as três
primeiras linhas e a causa provável (colunas trocadas, fuso, hemisfério,
sinal). O código de saída continua 0, ou é 3 com --strict.

Exemplos:
  Lista de pontos de Gauß-Krüger (Oru), Hayford, para LTM (Oru), SIRGAS 2000:
    transref-convert pontos_gk_oru.txt pontos_ltm_oru.txt
  Desenho para LTM com meridiano central 51° 30' W:
    transref-convert --to ltm --to-cm -51.5 lote_gk_oru.dxf lote_ltm.dxf
  Um ponto pela linha de comando, de UTM (fuso 22 S, GRS80) para geográficas:
    echo "1 500000 6681214.647 0" | transref-convert --from utm --to geographic - -

  Planilha pt_BR (;, vírgula decimal, cabeçalho Ponto;Este;Norte;Cota) em UTM
  22 S para coordenadas geográficas em graus, minutos e segundos:
    transref-convert --from utm --from-cm -51 --to geographic --dms pontos.csv geo.csv
  Os mesmos pontos num mapa:
    transref-convert --from utm --from-cm -51 --to geographic pontos.csv pontos.kml

Códigos de saída: 0 sucesso, 1 falha na conversão (mensagem em stderr),
2 erro de uso, 3 avisos com --strict.
)TEXT";
}

}  // namespace transref::convert
