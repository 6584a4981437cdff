# bash completion for qrsmith
_qrsmith() {
  local cur prev words cword
  _init_completion || return

  local options="-o --output -t --type -s --size -w --width --height -l --level
    -v --symversion --micro --rmqr --rmqr-height --mask -m --margin --margins --foreground --fg --background --bg
    --encoding -8 --8bit --keep-newline --encryption-password --password --icon --picture --picture-size --offset
    --noise --circles --svg-path --pdfx --title --module-mm --dpi --cmyk --verify --min-grade --grade-format --verify-dpi --batch -h --help -V --version
    --boost --eci --gs1 --fnc1-second --structured-append --split"
  local commands="wifi mail smtp tel sms mms geo map-search map-view market app-store url
    venue bookmark youtube social microblog microblog-status event bbm mecard vcard epc
    swiss-qr-bill"

  case $prev in
    -o|--output|--icon|--picture|--batch)
      _filedir
      return ;;
    -t|--type)
      COMPREPLY=($(compgen -W "png jpeg gif tiff bmp svg svg-rects svg-path eps ps pdf emf wmf html txt utf8 ansi" -- "$cur"))
      return ;;
    -l|--level)
      COMPREPLY=($(compgen -W "L M Q H" -- "$cur"))
      return ;;
    --mask)
      COMPREPLY=($(compgen -W "auto 0 1 2 3 4 5 6 7" -- "$cur"))
      return ;;
    --rmqr-height)
      COMPREPLY=($(compgen -W "7 9 11 13 15 17" -- "$cur"))
      return ;;
    --encoding)
      COMPREPLY=($(compgen -W "utf8 ansi binary latin1 iso-8859-1 iso-8859-2 iso-8859-5 iso-8859-7
        iso-8859-15 shift_jis windows-1250 windows-1251 windows-1252 windows-1256 utf-8 us-ascii
        big5 gbk euc-kr" -- "$cur"))
      return ;;
    --eci)
      COMPREPLY=($(compgen -W "auto 26 3 20" -- "$cur"))
      return ;;
    --split)
      COMPREPLY=($(compgen -W "auto" -- "$cur"))
      return ;;
  esac

  if [[ $cur == -* ]]; then
    local flags=""
    case ${words[1]} in
      wifi) flags="--network-name --network-password --wep --wpa --wpa3 --enterprise --eap --identity
        --anonymous-identity --phase2 --hidden" ;;
      mail) flags="--address --subject --body --cc --bcc" ;;
      url) flags="--address" ;;
      smtp) flags="--address --subject --body" ;;
      tel) flags="--number" ;;
      sms) flags="--number --message --uri" ;;
      mms) flags="--number --message" ;;
      geo) flags="--latitude --longitude --altitude" ;;
      map-search) flags="--latitude --longitude --label" ;;
      map-view) flags="--latitude --longitude" ;;
      market) flags="--package-name --query" ;;
      app-store) flags="--application-id" ;;
      venue) flags="--venue-id" ;;
      youtube) flags="--video-id" ;;
      bookmark) flags="--title --address" ;;
      social) flags="--profile-name" ;;
      microblog) flags="--user-name" ;;
      microblog-status) flags="--status-text" ;;
      event) flags="--summary --start --end --location --description --all-day --time-zone --remind
        --repeat --calendar" ;;
      bbm) flags="--first-name --last-name --pin" ;;
      mecard) flags="--family-name --given-name --email --phone --video-phone --first-url --second-url --birthday
        --nickname --note --address" ;;
      vcard) flags="--family-name --given-name --show-as-company --formatted-name --organisation --title
        --work-email --mobile-phone --work-phone --home-phone --work-fax --home-fax
        --work-address --home-address --work-url --home-url --birthday --nickname --home-email --note
        --photo-url --street --city --region --postcode --country --latitude --longitude" ;;
      epc) flags="--name --iban --bic --amount --purpose --reference --text --information --epc-version" ;;
      swiss-qr-bill) flags="--iban --qr-iban --creditor-name --creditor-street --creditor-building
        --creditor-postcode --creditor-town --creditor-country --debtor-name --debtor-street
        --debtor-building --debtor-postcode --debtor-town --debtor-country --amount --currency
        --reference --message --billing-information" ;;
    esac
    COMPREPLY=($(compgen -W "$flags $options" -- "$cur"))
  elif [[ $cword -eq 1 ]]; then
    COMPREPLY=($(compgen -W "$commands" -- "$cur"))
  fi
}
complete -F _qrsmith qrsmith
