#!/usr/bin/python3
"""A local SMTP server for the tests. It listens on 127.0.0.1 on a free port, prints
"PORT <n>" on its first line, and writes every message it takes, decoded, into OUT:

    OUT/messageN/mail_from, rcpt_tos (one per line), subject, to, from, text, login
    OUT/messageN/attachments/<name>  (the attachment's bytes)
    OUT/messageN/attachment_order    (the names in the order they came)
    OUT/messageN.done                (written last: the message is complete)

With --login USER:PASSWORD the server wants that login before it takes mail; every AUTH
command it sees adds a line to OUT/auth_attempts ("tls" or "plain": whether the connection was
encrypted). With --starttls it offers STARTTLS with the test certificate beside this script
(smtp_test_cert.pem, made for 127.0.0.1 and for these tests only) and wants it before a login.
"""
import argparse
import asyncio
import email
import email.policy
import os
import ssl
import warnings

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword


def write(folder, name, data):
    mode = "wb" if isinstance(data, bytes) else "w"
    with open(os.path.join(folder, name), mode) as out:
        out.write(data)


class Sink:
    def __init__(self, out):
        self.out = out
        self.count = 0

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        folder = os.path.join(self.out, f"message{self.count}")
        os.makedirs(os.path.join(folder, "attachments"))
        raw = envelope.original_content or envelope.content
        write(folder, "raw.eml", raw)
        message = email.message_from_bytes(raw, policy=email.policy.default)
        text = ""
        names = []
        first_text = True
        for part in message.walk():
            if part.is_multipart():
                continue
            name = part.get_filename()
            if name:
                names.append(name)
                write(os.path.join(folder, "attachments"), name, part.get_payload(decode=True))
            elif first_text:
                text = part.get_content()
                first_text = False
        write(folder, "mail_from", envelope.mail_from)
        write(folder, "rcpt_tos", "\n".join(envelope.rcpt_tos))
        write(folder, "subject", str(message["Subject"]))
        write(folder, "to", str(message["To"]))
        write(folder, "from", str(message["From"]))
        write(folder, "text", text)
        login = session.auth_data
        write(folder, "login", login.decode() if isinstance(login, bytes) else str(login or ""))
        write(folder, "attachment_order", "\n".join(names))
        write(self.out, f"message{self.count}.done", "")
        return "250 Message accepted for delivery"


def main():
    warnings.filterwarnings("ignore")
    parser = argparse.ArgumentParser()
    parser.add_argument("out")
    parser.add_argument("--login")
    parser.add_argument("--starttls", action="store_true")
    args = parser.parse_args()
    handler = Sink(args.out)
    options = {}
    if args.login:
        user, password = args.login.split(":", 1)

        def check(server, session, envelope, mechanism, auth_data):
            with open(os.path.join(args.out, "auth_attempts"), "a") as log:
                log.write(("tls" if session.ssl else "plain") + "\n")
            ok = (isinstance(auth_data, LoginPassword) and auth_data.login.decode() == user
                  and auth_data.password.decode() == password)
            return AuthResult(success=ok, handled=False, auth_data=user if ok else None)

        options = {"authenticator": check, "auth_required": True, "auth_require_tls": False}
    if args.starttls:
        here = os.path.dirname(os.path.abspath(__file__))
        context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        context.load_cert_chain(os.path.join(here, "smtp_test_cert.pem"),
                                os.path.join(here, "smtp_test_key.pem"))
        options.update({"tls_context": context, "require_starttls": True,
                        "auth_require_tls": True})

    async def serve():
        loop = asyncio.get_running_loop()
        server = await loop.create_server(lambda: SMTP(handler, **options), "127.0.0.1", 0)
        print(f"PORT {server.sockets[0].getsockname()[1]}", flush=True)
        await server.serve_forever()

    asyncio.run(serve())


if __name__ == "__main__":
    main()
