#include "memo/ContactCsvColumns.h"

#include <unordered_map>

#include "memo/Contact.h"

namespace {

using C = ContactColumn;

// Header texts of the exports, lower case. A text two programs share means the same in
// both. Fax and pager columns are left out: no number to call from a phone book.
const std::unordered_map<std::string, ContactColumn>& Table() {
    static const std::unordered_map<std::string, ContactColumn> table = [] {
        std::unordered_map<std::string, ContactColumn> t;
        auto add = [&](ContactColumn c, std::initializer_list<const char*> texts) {
            for (const char* text : texts) t.emplace(text, c);
        };
        add(C::FullName, {"name", "display name", "anzeigename", "nom à afficher", "nombre mostrado", "mostrar nombre",
                          "表示名", "표시명", "显示名称", "顯示名稱"});
        add(C::Given, {"first name", "given name", "vorname", "prénom", "nombre", "primer nombre", "名", "이름",
                       "名字"});
        add(C::Middle, {"middle name", "additional name", "weitere vornamen", "deuxième prénom", "segundo nombre",
                        "ミドル ネーム", "중간 이름"});
        add(C::Family, {"last name", "family name", "nachname", "nom", "nom de famille", "apellidos", "apellido", "姓",
                        "성", "姓氏"});
        add(C::Prefix, {"title", "name prefix"});
        add(C::Suffix, {"suffix", "name suffix"});
        add(C::Nickname, {"nickname", "spitzname", "surnom", "apodo", "nombre de usuario", "ニックネーム", "애칭",
                          "昵称", "暱稱"});
        add(C::Organisation, {"company", "organization", "organisation", "organization name",
                              "organization 1 - name", "firma", "société", "organización", "compañía", "会社名", "組織",
                              "회사", "회사명", "公司"});
        add(C::Email, {"e-mail address", "email", "primary email", "e-mail-adresse", "adresse de messagerie",
                       "電子メール アドレス", "전자 메일 주소", "primäre e-mail-adresse", "adresse e-mail principale",
                       "dirección de correo electrónico principal", "correo principal", "メールアドレス", "기본 메일",
                       "主要电子邮件", "主要 email"});
        add(C::OtherEmail, {"e-mail 2 address", "e-mail 3 address", "secondary email", "e-mail 2: adresse",
                            "e-mail 3: adresse", "adresse de messagerie 2", "adresse de messagerie 3",
                            "dirección de correo electrónico 2", "dirección del correo electrónico 3",
                            "dirección de correo electrónico secundaria", "correo secundario", "sekundäre e-mail-adresse",
                            "adresse e-mail secondaire", "電子メール 2 アドレス", "電子メール 3 アドレス",
                            "別のメールアドレス", "전자 메일 2 주소", "전자 메일 3 주소", "추가 메일", "备用电子邮件",
                            "次要 email"});
        add(C::PrimaryPhone, {"primary phone", "haupttelefon", "téléphone principal", "teléfono principal",
                              "通常の電話", "기본 전화"});
        add(C::MobilePhone, {"mobile phone", "mobile number", "mobiltelefon", "mobil-tel.-nr.", "tél. mobile",
                             "portable", "teléfono móvil", "teléfono celular", "携帯電話", "携帯電話番号", "휴대폰",
                             "移动电话号码", "手機號碼"});
        add(C::OtherPhone,
            {"home phone", "home phone 2", "business phone", "business phone 2", "work phone", "other phone",
             "car phone", "company main phone", "callback", "assistant's phone", "radio phone",
             "telefon privat", "telefon privat 2", "tel. privat", "telefon geschäftlich", "telefon geschäftlich 2",
             "tel. dienstlich", "weiteres telefon", "téléphone (domicile)", "téléphone 2 (domicile)", "tél. personnel",
             "téléphone (bureau)", "téléphone 2 (bureau)", "tél. professionnel", "téléphone (autre)", "particular",
             "teléfono particular", "teléfono de casa", "teléfono del trabajo", "teléfono (trabajo)",
             "teléfono de trabajo", "otro teléfono", "自宅電話", "自宅電話 2", "自宅の電話番号", "会社電話",
             "会社電話 2", "勤務先の電話番号", "その他の電話", "집 전화 번호", "집 전화 2", "자택 전화", "근무처 전화",
             "근무처 전화 2", "직장 전화", "기타 전화", "家庭电话", "住家電話", "工作电话", "商務電話"});
        return t;
    }();
    return table;
}

}  // namespace

ContactColumn ContactColumnOf(const std::string& header) {
    std::string key = Trimmed(header);
    for (char& c : key)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    auto it = Table().find(key);
    return it == Table().end() ? C::Unknown : it->second;
}
