-- Sends the frame "123456789" twice, back to back, through a packet_mac_core and checks
-- that each comes back followed by its check sequence 26 39 F4 CB (the Ethernet CRC-32
-- of the frame, CBF43926, low byte first), with last on the final byte only. The sender
-- pauses every SEND_GAP-th clock and the receiver every READ_GAP-th (0: never).
-- Reports one line starting with PASS or FAIL.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity tb_packet_mac is
    generic (
        SEND_GAP : natural := 0;
        READ_GAP : natural := 0
    );
end entity;

architecture sim of tb_packet_mac is
    constant FRAME  : std_logic_vector(71 downto 0) := x"313233343536373839";
    constant FCS    : std_logic_vector(31 downto 0) := x"CBF43926";
    constant FRAMES : positive := 2;
    constant LENGTH : positive := 9 + 4;

    signal clk      : std_logic := '0';
    signal rst      : std_logic := '1';
    signal tx_data  : std_logic_vector(7 downto 0) := (others => '0');
    signal tx_valid : std_logic := '0';
    signal tx_last  : std_logic := '0';
    signal tx_ready : std_logic;
    signal rx_data  : std_logic_vector(7 downto 0);
    signal rx_valid : std_logic;
    signal rx_last  : std_logic;
    signal rx_ready : std_logic := '0';
    signal done     : boolean := false;
begin
    dut : entity work.packet_mac_core
        port map (clk => clk, rst => rst, tx_data => tx_data, tx_valid => tx_valid,
                  tx_last => tx_last, tx_ready => tx_ready, rx_data => rx_data,
                  rx_valid => rx_valid, rx_last => rx_last, rx_ready => rx_ready);

    clk <= not clk after 5 ns when not done;

    -- Both sides change their signals after the falling edge and look at the handshake
    -- on the rising one.
    process
        variable sent, received, clocks, errors, at : natural := 0;
        variable wanted : std_logic_vector(7 downto 0);
    begin
        wait until falling_edge(clk);
        wait until falling_edge(clk);
        rst <= '0';
        while received < LENGTH * FRAMES and clocks < 200 loop
            if sent < 9 * FRAMES and not (SEND_GAP > 0 and clocks mod SEND_GAP = 0) then
                tx_valid <= '1';
            else
                tx_valid <= '0';
            end if;
            at       := sent mod 9;
            tx_data  <= FRAME(71 - 8 * at downto 64 - 8 * at);
            tx_last  <= '1' when at = 8 else '0';
            rx_ready <= '0' when READ_GAP > 0 and clocks mod READ_GAP = 0 else '1';
            wait until rising_edge(clk);
            clocks := clocks + 1;
            if tx_valid = '1' and tx_ready = '1' then
                sent := sent + 1;
            end if;
            if rx_valid = '1' and rx_ready = '1' then
                at := received mod LENGTH;
                if at < 9 then
                    wanted := FRAME(71 - 8 * at downto 64 - 8 * at);
                else
                    wanted := FCS(8 * (at - 9) + 7 downto 8 * (at - 9));
                end if;
                if rx_data /= wanted or (rx_last = '1') /= (at = LENGTH - 1) then
                    report "byte " & integer'image(received) & ": " & to_hstring(rx_data)
                        & " last " & std_logic'image(rx_last) & ", expected "
                        & to_hstring(wanted);
                    errors := errors + 1;
                end if;
                received := received + 1;
            end if;
            wait until falling_edge(clk);
        end loop;
        tx_valid <= '0';
        wait until falling_edge(clk);
        if received /= LENGTH * FRAMES or rx_valid /= '0' then
            errors := errors + 1;
        end if;
        if errors = 0 then
            report "PASS mac " & integer'image(FRAMES) & " frames, send gap "
                & integer'image(SEND_GAP) & ", read gap " & integer'image(READ_GAP);
        else
            report "FAIL mac after " & integer'image(received) & " bytes: "
                & integer'image(errors) & " mismatches";
        end if;
        done <= true;
        wait;
    end process;
end architecture;
