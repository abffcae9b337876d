#!/usr/bin/env python3
"""Writes slownikiwbudowane.cpp: the built-in code lists of the pickers.

Country and currency names come from Debian's iso-codes package (ISO 3166-1, ISO 3166-3 for the
withdrawn codes, ISO 4217); the codes and their order are the program's own, because stored
cards and the card checks depend on them. Run it again only to change the lists, and commit the
result: the build does not need iso-codes.

    python3 generuj_slowniki.py [/usr/share/iso-codes/json]
"""
import json
import os
import sys
import unicodedata

ISO = sys.argv[1] if len(sys.argv) > 1 else "/usr/share/iso-codes/json"
OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "slownikiwbudowane.cpp")

# The countries in list order: the 19 used most, then the rest by name.
KRAJE = """PL DE US AU AT CA CZ DK FR HU IT NL NO PT RU SK SE CH GB AF AL DZ AS AD AO AI AQ AG AR AM
AW AZ BS BH BD BB BY BE BZ BJ BM BT BO BA BW BV BR IO BN BG BF BI KH CM CV KY CF TD CL CN CX CC CO
KM CG CD CK CR CI HR CU CY DJ DM DO TP EC EG SV GQ ER EE ET FK FO FJ FI FX GF PF TF GA GM GE GH GI GR
GL GD GP GU GT GN GW GY HT HM VA HN HK IS IN ID IR IQ IE IL JM JP JO KZ KE KI KP KR KW KG LA LV LB LS
LR LY LI LT LU MO MK MG MW MY MV ML MT MH MQ MR MU YT MX FM MD MC MN MS MA MZ MM NA NR NP AN NC NZ NI
NE NG NU NF MP OM PK PW PS PA PG PY PE PH PN PR QA RE RO RW KN LC VC WS SM ST SA SN SC SL SG SI SB SO
ZA GS ES LK SH PM SD SR SJ SZ SY TW TJ TZ TH TG TK TO TT TN TR TM TC TV UG UA AE UM UY UZ VU VE VN VG
VI WF EH YE YU ZM ZW""".split()

# Country lines whose text the program keeps as it always had it.
KRAJE_WLASNE = {
    "PL": "POLAND",
    "SK": "SLOVAKIA (Slovak Republic)",
    "VG": "VIRGIN ISLANDS (BRITISH)",
    "CI": "COTE D'IVOIRE",
    "CD": "CONGO, THE DEMOCRATIC REPUBLIC OF THE",
    "AF": "AFGHANISTAN",
    "ZW": "ZIMBABWE",
    "FX": "FRANCE, METROPOLITAN",
    "AN": "NETHERLANDS ANTILLES",
    "TP": "EAST TIMOR",
    "YU": "YUGOSLAVIA",
}

# The standard's short names as they stood before 2002 for the entries it has renamed since; the
# iso-codes data holds only today's names. Saint Helena and Saint Pierre stood as "ST." names in
# the list, which is why they sort between Sri Lanka and Sudan.
KRAJE_DAWNE = {
    "BO": "BOLIVIA",
    "CV": "CAPE VERDE",
    "CZ": "CZECH REPUBLIC",
    "LY": "LIBYAN ARAB JAMAHIRIYA",
    "MK": "MACEDONIA, THE FORMER YUGOSLAV REPUBLIC OF",
    "PM": "ST. PIERRE AND MIQUELON",
    "PS": "PALESTINIAN TERRITORY, OCCUPIED",
    "SH": "ST. HELENA",
    "SZ": "SWAZILAND",
    "TR": "TURKEY",
    "VE": "VENEZUELA",
}

# The currencies the list offers.
WALUTY = """AED AFA ALL AMD ANG AOA ARS ATS AUD AWG AZM BAM BBD BDT BEF BGL BHD BIF BMD BND BOB BRL BSD
BTN BWP BYR BZD CAD CDF CHF CLP CNY COP CRC CUP CVE CYP CZK DEM DJF DKK DOP DZD EEK EGP ERN ESP ETB
EUR FIM FJD FKP FRF GBP GEL GGP GHC GIP GMD GNF GRD GTQ GYD HKD HNL HRK HTG HUF IDR IEP ILS IMP INR
IQD IRR ISK ITL JEP JMD JOD JPY KES KGS KHR KMF KPW KRW KWD KYD KZT LAK LBP LKR LRD LSL LTL LUF LVL
LYD MAD MDL MGF MKD MMK MNT MOP MRO MTL MUR MVR MWK MXN MYR MZM NAD NGN NIO NLG NOK NPR NZD OMR PAB
PEN PGK PHP PKR PLN PTE PYG QAR ROL RUR RWF SAR SBD SCR SDD SEK SGD SHP SIT SKK SLL SOS SPL SRG STD
SVC SYP SZL THB TJS TMM TND TOP TRL TTD TVD TWD TZS UAH UGX USD UYU UZS VAL VEB VND VUV WST XAF XAG
XAU XCD XDR XOF XPD XPF XPT YER YUM ZAR ZMK ZWD""".split()

# The first lines, the currencies used most, as the program always wrote them.
WALUTY_PIERWSZE = [
    "PLN Poland, Zlotych ",
    "EUR EMU (European Economic and Monetary Union), Euro ",
    "USD United States of America, Dollars ",
    "AUD Australia, Dollars ",
    "CAD Canada, Dollars ",
    "CZK Czech Republic, Koruny ",
    "DKK Denmark, Kroner ",
    "GBP United Kingdom, Pounds ",
    "HUF Hungary, Forint ",
    "JPY Japan, Yen ",
    "NOK Norway, Krone ",
    "RUR Russia, Rubles ",
    "SEK Sweden, Kronor ",
    "CHF Switzerland, Francs ",
]

# Whole lines the program keeps as it always had them.
WALUTY_WLASNE = {
    "FRF": "FRF France, Francs (until 2002.02.17) ",
    "NLG": "NLG Netherlands, Guilders (expired 2002.01.28) ",
    "XAU": "XAU Gold, Ounces ",
    "XAG": "XAG Silver, Ounces ",
    "XPD": "XPD Palladium, Ounces ",
    "XPT": "XPT Platinum, Ounces ",
    "XDR": "XDR Special Drawing Rights ",
}

# Country and name of the currencies that ISO 4217 no longer lists, or that it never held.
WALUTY_DAWNE = {
    "AFA": ("Afghanistan", "Afghanis"),
    "ATS": ("Austria", "Schillings"),
    "AZM": ("Azerbaijan", "Manats"),
    "BEF": ("Belgium", "Francs"),
    "BGL": ("Bulgaria", "Leva"),
    "BYR": ("Belarus", "Rubles"),
    "CYP": ("Cyprus", "Pounds"),
    "DEM": ("Germany", "Deutsche Marks"),
    "EEK": ("Estonia", "Krooni"),
    "ESP": ("Spain", "Pesetas"),
    "FIM": ("Finland", "Markkaa"),
    "GGP": ("Guernsey", "Pounds"),
    "GHC": ("Ghana", "Cedis"),
    "GRD": ("Greece", "Drachmae"),
    "IEP": ("Ireland", "Pounds"),
    "IMP": ("Isle of Man", "Pounds"),
    "ITL": ("Italy", "Lire"),
    "JEP": ("Jersey", "Pounds"),
    "LTL": ("Lithuania", "Litai"),
    "LUF": ("Luxembourg", "Francs"),
    "LVL": ("Latvia", "Lati"),
    "MGF": ("Madagascar", "Malagasy Francs"),
    "MRO": ("Mauritania", "Ouguiyas"),
    "MTL": ("Malta", "Liri"),
    "MZM": ("Mozambique", "Meticais"),
    "PTE": ("Portugal", "Escudos"),
    "ROL": ("Romania", "Lei"),
    "SDD": ("Sudan", "Dinars"),
    "SIT": ("Slovenia", "Tolars"),
    "SKK": ("Slovakia", "Koruny"),
    "SPL": ("Seborga", "Luigini"),
    "SRG": ("Suriname", "Guilders"),
    "STD": ("Sao Tome and Principe", "Dobras"),
    "TMM": ("Turkmenistan", "Manats"),
    "TRL": ("Turkey", "Liras"),
    "TVD": ("Tuvalu", "Tuvalu Dollars"),
    "VAL": ("Vatican City", "Lire"),
    "VEB": ("Venezuela", "Bolivares"),
    "YUM": ("Serbia and Montenegro", "New Dinars"),
    "ZMK": ("Zambia", "Kwacha"),
    "ZWD": ("Zimbabwe", "Zimbabwe Dollars"),
}

# Currencies whose first two letters name no country.
WALUTY_KRAJ = {
    "ANG": "Netherlands Antilles",
    "XAF": "Communaute Financiere Africaine BEAC",
    "XOF": "Communaute Financiere Africaine BCEAO",
    "XCD": "East Caribbean",
    "XPF": "Comptoirs Francais du Pacifique",
}

KATEGORIE = [
    "01 - wypłata gotówkowa",
    "02 - wpłata gotówkowa",
    "03 - przelew wychodzący",
    "04 - przelew wewnętrzny",
    "05 - przelew przychodzący z zagranicy",
    "06 - zamiana wartości dewizowych",
    "07 - transakcje bez widocznego obrotu pieniężnego",
]

TYTULY = [
    "00 - inne - w tym przypadku należy podać szczegóły w polu 45 (Uwagi)",
    "01 - umowa rachunku",
    "02 - realizacja czeków gotówkowych",
    "03 - realizacja czeków rozrachunkowych",
    "04 - polecenie zapłaty",
    "05 - zlecenie wypłaty, w przypadkach wypłat gotówkowych",
    "06 - obrót czekami podróżnymi",
    "07 - obrót walutą obcą",
    "08 - umowa kredytowa",
    "09 - realizacja (wykonanie) zabezpieczenia kredytu",
    "10 - umowa pożyczki",
    "11 - realizacja (wykonanie) zabezpieczenia pożyczki",
    "12 - realizacja gwarancji",
    "13 - realizacja poręczenia",
    "14 - akredytywa",
    "15 - inkaso dokumentowe",
    "16 - inkaso finansowe",
    "17 - operacje wekslowe",
    "18 - transakcja realizowana kartą płatniczą",
    "19 - terminowe operacje finansowe",
    "20 - kupno akcji",
    "21 - sprzedaż akcji",
    "22 - kupno obligacji",
    "23 - sprzedaż obligacji",
    "24 - kupno innych papierów wartościowych",
    "25 - sprzedaż innych papierów wartościowych",
    "26 - obrót udziałami",
    "27 - obrót jednostkami uczestnictwa w funduszach inwestycyjnych",
    "28 - obrót wkładami/udziałami w spółdzielczych kasach oszczędnościowo-kredytowych",
    "29 - zamiana wierzytelności na akcje",
    "30 - zamiana wierzytelności na udziały",
    "31 - zamiana papierów wartościowych",
    "32 - umowa przenosząca własność nieruchomości, zakończona aktem notarialnym",
    "33 - umowa przenosząca własność rzeczy ruchomej",
    "34 - umowa przenosząca posiadanie nieruchomości",
    "35 - umowa przenosząca posiadanie rzeczy ruchomej",
    "36 - zamiana nieruchomości",
    "37 - umowa leasingowa",
    "38 - umowa factoringu",
    "39 - umowa komisu",
    "40 - składka z tytułu ubezpieczenia osobowego",
    "41 - realizacja polisy z tytułu ubezpieczenia osobowego",
    "42 - składka z tytułu ubezpieczenia majątkowego",
    "43 - realizacja polisy z tytułu ubezpieczenia majątkowego",
    "44 - przepływy wartości majątkowych związanych z grami losowymi",
    "45 - przepływy wartości majątkowych związanych z zakładami wzajemnymi",
    "46 - przepływy wartości majątkowych związanych z grą na automatach",
]


def ascii(text):
    text = text.replace("\u2019", "'")
    out = "".join(c for c in unicodedata.normalize("NFKD", text) if not unicodedata.combining(c))
    if not out.isascii():
        raise SystemExit("not ASCII after folding: " + text)
    return out


def wczytaj(name, key):
    with open(os.path.join(ISO, name), encoding="utf-8") as f:
        return json.load(f)[key]


def main():
    biezace = {c["alpha_2"]: c for c in wczytaj("iso_3166-1.json", "3166-1")}
    dawne = {c["alpha_2"]: c for c in wczytaj("iso_3166-3.json", "3166-3") if "alpha_2" in c}
    nazwy_walut = {c["alpha_3"]: c["name"] for c in wczytaj("iso_4217.json", "4217")}

    def kraj(code):
        c = biezace.get(code) or dawne.get(code)
        if c is None:
            raise SystemExit("no country " + code)
        return c

    assert len(KRAJE) == 240 and len(set(KRAJE)) == 240
    def nazwa(code):
        return KRAJE_WLASNE.get(code) or KRAJE_DAWNE.get(code) or ascii(kraj(code)["name"]).upper()

    kraje = [code + "-" + nazwa(code) for code in KRAJE]
    # After the 19 used most the list goes by name: a name out of its place is a wrong name.
    reszta = [line[3:] for line in kraje[19:]]
    for a, b in zip(reszta, reszta[1:]):
        if a > b:
            raise SystemExit("country names out of order: " + a + " / " + b)

    assert len(WALUTY) == 185 and len(set(WALUTY)) == 185
    pierwsze = [line[:3] for line in WALUTY_PIERWSZE]
    reszta = []
    for code in WALUTY:
        if code in pierwsze:
            continue
        if code in WALUTY_WLASNE:
            line = WALUTY_WLASNE[code]
            country = line[4:].split(",")[0].strip()
        else:
            if code in WALUTY_DAWNE:
                country, name = WALUTY_DAWNE[code]
            else:
                c = WALUTY_KRAJ.get(code)
                if c is None:
                    k = kraj(code[:2])
                    c = k.get("common_name", k["name"])
                country, name = ascii(c), ascii(nazwy_walut[code])
            line = code + " " + country + ", " + name + " "
        reszta.append((country.upper(), line))
    reszta.sort()
    waluty = WALUTY_PIERWSZE + [line for _, line in reszta]

    def tabela(name, lines):
        body = "".join("      " + json.dumps(line, ensure_ascii=False) + ",\n" for line in lines)
        return (f"const std::vector<std::string>& {name}() {{\n"
                f"  static const std::vector<std::string> lines = bytes({{\n{body}  }});\n"
                f"  return lines;\n}}\n")

    with open(OUT, "w", encoding="utf-8", newline="\n") as out:
        out.write("// Generated by generuj_slowniki.py; edit the script, not this file.\n"
                  "// The built-in code lists: the order and count of each list are stored data.\n"
                  "#include <initializer_list>\n\n"
                  "#include \"platform/cp1250.h\"\n"
                  "#include \"settings/slownik.h\"\n\n"
                  "namespace zelt::wbudowane {\n\n"
                  "namespace {\n"
                  "std::vector<std::string> bytes(std::initializer_list<const char*> utf8) {\n"
                  "  std::vector<std::string> out;\n"
                  "  out.reserve(utf8.size());\n"
                  "  for (const char* line : utf8) out.push_back(cp1250::fromUtf8(line));\n"
                  "  return out;\n"
                  "}\n"
                  "}  // namespace\n\n")
        out.write(tabela("kraje", kraje) + "\n")
        out.write(tabela("waluty", waluty) + "\n")
        out.write(tabela("kategorie", KATEGORIE) + "\n")
        out.write(tabela("tytuly", TYTULY) + "\n")
        out.write("}  // namespace zelt::wbudowane\n")


main()
