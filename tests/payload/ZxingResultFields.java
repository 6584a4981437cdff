// Reads decoded symbol texts and prints what ZXing's result parsers, the code
// Android reader apps are built on, make of each: the result's type and its
// fields. One run reads many texts, so the test starts a single JVM.
//
// Input: one text a line, as hexadecimal UTF-8. Output: one line per text,
// tab-separated "name=value" pairs with the value in hexadecimal UTF-8; a
// field that is a list repeats its name, a field that is absent is left out.
// Web addresses are also taken apart with java.net.URI: "path" is the decoded
// path, "q:NAME" the decoded value of each query parameter, read the way web
// servers read them ("+" is a space).

import com.google.zxing.BarcodeFormat;
import com.google.zxing.Result;
import com.google.zxing.client.result.AddressBookParsedResult;
import com.google.zxing.client.result.CalendarParsedResult;
import com.google.zxing.client.result.EmailAddressParsedResult;
import com.google.zxing.client.result.GeoParsedResult;
import com.google.zxing.client.result.ParsedResult;
import com.google.zxing.client.result.ResultParser;
import com.google.zxing.client.result.SMSParsedResult;
import com.google.zxing.client.result.TelParsedResult;
import com.google.zxing.client.result.TextParsedResult;
import com.google.zxing.client.result.URIParsedResult;
import com.google.zxing.client.result.WifiParsedResult;
import java.io.BufferedReader;
import java.io.InputStreamReader;
import java.io.PrintStream;
import java.net.URI;
import java.net.URLDecoder;
import java.nio.charset.StandardCharsets;
import java.text.SimpleDateFormat;
import java.util.Date;

public final class ZxingResultFields {
  private final StringBuilder line = new StringBuilder();

  private void add(String name, String value) {
    if (value == null) return;
    if (line.length() > 0) line.append('\t');
    line.append(name).append('=');
    for (byte b : value.getBytes(StandardCharsets.UTF_8)) line.append(String.format("%02x", b));
  }

  private void add(String name, String[] values) {
    if (values != null) for (String v : values) add(name, v);
  }

  private static String time(long millis) {
    return new SimpleDateFormat("yyyyMMdd'T'HHmmss").format(new Date(millis));
  }

  private void addWebParts(String uri) {
    try {
      URI parsed = new URI(uri);
      add("path", parsed.getPath());
      String query = parsed.getRawQuery();
      if (query == null) return;
      for (String pair : query.split("&")) {
        int eq = pair.indexOf('=');
        String name = eq < 0 ? pair : pair.substring(0, eq);
        String value = eq < 0 ? "" : pair.substring(eq + 1);
        add("q:" + name, URLDecoder.decode(value, StandardCharsets.UTF_8));
      }
    } catch (Exception e) {
      add("uri-error", e.getMessage());
    }
  }

  private String describe(String text) {
    ParsedResult r = ResultParser.parseResult(new Result(text, null, null, BarcodeFormat.QR_CODE));
    add("type", r.getType().name());
    if (r instanceof URIParsedResult u) {
      add("uri", u.getURI());
      add("title", u.getTitle());
      addWebParts(u.getURI());
    } else if (r instanceof WifiParsedResult w) {
      add("ssid", w.getSsid());
      add("password", w.getPassword());
      add("encryption", w.getNetworkEncryption());
      add("hidden", String.valueOf(w.isHidden()));
      add("eap", w.getEapMethod());
      add("anonymous", w.getAnonymousIdentity());
      add("identity", w.getIdentity());
      add("phase2", w.getPhase2Method());
    } else if (r instanceof TelParsedResult t) {
      add("number", t.getNumber());
    } else if (r instanceof SMSParsedResult s) {
      add("number", s.getNumbers());
      add("subject", s.getSubject());
      add("body", s.getBody());
    } else if (r instanceof EmailAddressParsedResult e) {
      add("to", e.getTos());
      add("cc", e.getCCs());
      add("bcc", e.getBCCs());
      add("subject", e.getSubject());
      add("body", e.getBody());
    } else if (r instanceof GeoParsedResult g) {
      add("latitude", String.valueOf(g.getLatitude()));
      add("longitude", String.valueOf(g.getLongitude()));
      add("altitude", String.valueOf(g.getAltitude()));
    } else if (r instanceof CalendarParsedResult c) {
      add("summary", c.getSummary());
      add("start", time(c.getStartTimestamp()));
      if (c.getEndTimestamp() >= 0) add("end", time(c.getEndTimestamp()));
      add("location", c.getLocation());
      add("description", c.getDescription());
    } else if (r instanceof AddressBookParsedResult a) {
      add("name", a.getNames());
      add("org", a.getOrg());
      add("title", a.getTitle());
      add("email", a.getEmails());
      add("phone", a.getPhoneNumbers());
      add("address", a.getAddresses());
      add("url", a.getURLs());
      add("birthday", a.getBirthday());
      add("note", a.getNote());
      add("nickname", a.getNicknames());
    } else if (r instanceof TextParsedResult t) {
      add("text", t.getText());
    }
    return line.toString();
  }

  private static String fromHex(String hex) {
    byte[] bytes = new byte[hex.length() / 2];
    for (int i = 0; i < bytes.length; ++i) {
      bytes[i] = (byte) Integer.parseInt(hex.substring(2 * i, 2 * i + 2), 16);
    }
    return new String(bytes, StandardCharsets.UTF_8);
  }

  public static void main(String[] args) throws Exception {
    BufferedReader in =
        new BufferedReader(new InputStreamReader(System.in, StandardCharsets.UTF_8));
    PrintStream out = new PrintStream(System.out, false, StandardCharsets.UTF_8);
    for (String hex; (hex = in.readLine()) != null; ) {
      out.println(new ZxingResultFields().describe(fromHex(hex.trim())));
    }
    out.flush();
  }
}
